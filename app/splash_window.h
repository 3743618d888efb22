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

 protected:
  // The window has no close box; where a compositor draws one anyway,
  // closing it would leave the handheld unreachable, so only "- PLAY -"
  // takes the window away.
  void closeEvent(QCloseEvent* event) override;
};

class TAboutForm : public QWidget {
 public:
  TAboutForm();
};

// Maps the fonts the windows name to metric-compatible faces of this system.
void installFontSubstitutes();

}  // namespace wuffel
