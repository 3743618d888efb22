// Fingers on the handheld's HIT, UP and DOWN buttons. Outside a pause a
// finger there holds that button while it stays down: its control, each
// finger on its own, with modern keys, and its key with the original keys
// (a touch screen has no keys). While a game is paused they are not taken,
// so that a tap anywhere comes as the mouse and resumes; a touch that is not
// taken is the front end's to deliver as the mouse.
#pragma once

#include <map>

#include "game/handheld.h"

namespace wuffel {

class ButtonTouches {
 public:
  explicit ButtonTouches(Handheld& handheld) : handheld_(handheld) {}

  // A finger put down at face point (x, y); true when it holds a button.
  bool start(int touchId, int x, int y);
  // A finger lifted, or its touch cancelled; true when it held a button.
  bool end(int touchId);
  bool holdsAny() const { return !held_.empty(); }

 private:
  struct Held {
    const CaseButton* button;
    bool holdsControl;
  };
  Handheld& handheld_;
  std::map<int, Held> held_;  // by touch id
};

}  // namespace wuffel
