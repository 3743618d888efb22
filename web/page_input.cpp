#include "web/page_input.h"

#include <cstdlib>

namespace wuffel::web {

void PageInput::mouseDown(int x, int y, MouseButton button) {
  hooks_.activateHandheld();
  handheld_.mousePress(x, y, button);
}

void PageInput::mouseMove(int x, int y, MouseButtons held) {
  if (held.left || held.right || held.middle) handheld_.mouseMove(x, y, held);
}

void PageInput::mouseUp(int x, int y, MouseButton button) { handheld_.mouseRelease(x, y, button); }

void PageInput::touchStart(int id, int x, int y) {
  hooks_.activateHandheld();
  if (buttons_.start(id, x, y) || mouseTouch_) return;
  const auto element = handheld_.faceState().elementAt(x, y);
  const bool onFace = element == ElementId::Im_Base || element == ElementId::Im_BaseTop;
  mouseTouch_ = MouseTouch{id, x, y, onFace, false};
  handheld_.mousePress(x, y, MouseButton::Left);
  if (onFace) hooks_.armLongPress(id);
}

void PageInput::touchMove(int id, int x, int y) {
  if (!mouseTouch_ || mouseTouch_->id != id || mouseTouch_->spent) return;
  if (mouseTouch_->longPressArmed &&
      (std::abs(x - mouseTouch_->startX) > kTouchSlop || std::abs(y - mouseTouch_->startY) > kTouchSlop))
    endLongPress(*mouseTouch_);
  handheld_.mouseMove(x, y, MouseButtons{true, false, false});
}

void PageInput::touchEnd(int id, int x, int y) {
  if (buttons_.end(id)) return;
  if (!mouseTouch_ || mouseTouch_->id != id) return;
  endLongPress(*mouseTouch_);
  const bool spent = mouseTouch_->spent;
  mouseTouch_.reset();
  if (!spent) handheld_.mouseRelease(x, y, MouseButton::Left);
}

void PageInput::longPressDue(int id) {
  if (!mouseTouch_ || mouseTouch_->id != id || !mouseTouch_->longPressArmed) return;
  mouseTouch_->longPressArmed = false;
  mouseTouch_->spent = true;
  const int x = mouseTouch_->startX;
  const int y = mouseTouch_->startY;
  handheld_.mouseRelease(x, y, MouseButton::Left);
  handheld_.mousePress(x, y, MouseButton::Right);
  handheld_.mouseRelease(x, y, MouseButton::Right);
}

void PageInput::endLongPress(MouseTouch& touch) {
  if (!touch.longPressArmed) return;
  touch.longPressArmed = false;
  hooks_.cancelLongPress();
}

}  // namespace wuffel::web
