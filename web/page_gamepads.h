// Gamepads through the browser's Gamepad API, as the page reads them: its
// buttons by their numbers in the API's standard layout and the left stick's
// upright axis, each pad by the API's index. What each part works is the
// front ends' common rule (frontend/pad_controls.h).
#pragma once

#include "frontend/pad_controls.h"
#include "game/handheld.h"

namespace wuffel::web {

class PageGamepads {
 public:
  explicit PageGamepads(Handheld& handheld);

  void button(int pad, int standardButton, bool down);
  void stick(int pad, double uprightAxis);
  void unplugged(int pad);

 private:
  PadControls controls_;
};

}  // namespace wuffel::web
