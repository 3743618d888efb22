// TSplashForm and TAboutForm: the splash window with the play button and the
// two links, and the small window about the author.
#pragma once

#include "app/captioned_window.h"
#include "app/face_pictures.h"

namespace wuffel {

class Handheld;

// Where "- PLAY -" sits in the splash window's client area.
inline constexpr QRect kPlayButtonBox{96, 276, 65, 25};

class TSplashForm : public CaptionedWindow {
 public:
  explicit TSplashForm(Handheld& handheld);

 protected:
  // The window has no close box, yet the window manager's close key still
  // asks it to close; that would leave the handheld unreachable, so only
  // "- PLAY -" takes the window away.
  void closeEvent(QCloseEvent* event) override;
  // Enter plays, as a dialog's default button would, unless a link has the keyboard.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Handheld& handheld_;
};

class TAboutForm : public CaptionedWindow {
 public:
  TAboutForm();
};

// Maps the fonts the windows name to metric-compatible faces of this system.
void installFontSubstitutes();

}  // namespace wuffel
