#include "frontend/button_touches.h"

namespace wuffel {

bool ButtonTouches::start(int touchId, int x, int y) {
  if (handheld_.paused() || held_.count(touchId)) return false;
  const auto element = handheld_.faceState().elementAt(x, y);
  const CaseButton* button = element ? playButton(*element) : nullptr;
  if (!button) return false;
  const bool holdsControl = handheld_.settings().modernKeys();
  held_[touchId] = {button, holdsControl};
  if (holdsControl)
    handheld_.controlDown(button->control, kFirstTouchSource - touchId);
  else
    handheld_.keyDown(button->key);
  return true;
}

bool ButtonTouches::end(int touchId) {
  const auto found = held_.find(touchId);
  if (found == held_.end()) return false;
  const Held touch = found->second;
  held_.erase(found);
  if (touch.holdsControl)
    handheld_.controlUp(touch.button->control, kFirstTouchSource - touchId);
  else
    handheld_.keyUp(touch.button->key);
  return true;
}

}  // namespace wuffel
