// The questions put to the player before a step that loses something.
#include "game/handheld.h"

namespace wuffel {

void Handheld::askFirst(const std::string& question, void (Handheld::*step)(), AfterYes afterYes) {
  if (questionOpen_) return;
  questionOpen_ = true;
  // The game waits for the answer, and a box over it costs no life.
  const bool pausedForIt = canPause();
  if (pausedForIt) pause();
  ports_.questions.ask(question, [this, step, afterYes, pausedForIt](bool yes) {
    dispatcher_.run([=, this] {
      questionOpen_ = false;
      if (yes) (this->*step)();
      const bool gameGoesOn = !yes || afterYes == AfterYes::GameGoesOn;
      // The player may have resumed it meanwhile.
      if (pausedForIt && gameGoesOn && paused_) resume();
    });
  });
}

}  // namespace wuffel
