// The questions put to the player before a step that loses something.
#include "game/handheld.h"

namespace wuffel {

void Handheld::askFirst(const std::string& question, void (Handheld::*step)(), AfterYes afterYes) {
  if (questionOpen_) return;
  questionOpen_ = true;
  // The game waits for the answer, and a box over it costs no life.
  holdGameFor(PauseHolder::Question);
  ports_.questions.ask(question, [this, step, afterYes](bool yes) {
    const auto arrival = arrived(input::Answer{yes});
    dispatcher_.run([=, this] {
      questionOpen_ = false;
      if (yes) (this->*step)();
      if (!yes || afterYes == AfterYes::GameGoesOn) releaseGameFrom(PauseHolder::Question);
    });
  });
}

}  // namespace wuffel
