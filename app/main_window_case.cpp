// What the main window shows on the case beside the game's own face: the
// speaker grille's glow while a sound plays, and words printed below the
// screen's frame.
#include <utility>

#include "app/face_renderer.h"
#include "app/grille_glow.h"
#include "app/main_window.h"

namespace wuffel {

FaceLook TForm1::currentLook() const {
  return {view_, look_, edges_, look_.fade ? &fade_ : nullptr, CrystalFade::Clock::now(), paused_, cue_, caseCaption_};
}

void TForm1::setSoundCue(SoundCue cue) {
  if (std::exchange(cue_, cue) != cue) update(view_.toWindow(grilleArea()));
}

void TForm1::setCaseCaption(const QString& caption) {
  if (caption == caseCaption_) return;
  caseCaption_ = caption;
  update();
}

}  // namespace wuffel
