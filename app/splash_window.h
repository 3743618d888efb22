// TSplashForm and TAboutForm: the splash window with the play button and the
// two links, and the small window about the author.
#pragma once

#include <QWidget>

#include "app/face_pictures.h"

namespace wuffel {

class Handheld;

class TSplashForm : public QWidget {
 public:
  explicit TSplashForm(Handheld& handheld);
};

class TAboutForm : public QWidget {
 public:
  TAboutForm();
};

// Maps the fonts the windows name to metric-compatible faces of this system.
void installFontSubstitutes();

}  // namespace wuffel
