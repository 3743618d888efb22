#include "web/page_input.h"

#include <cstdlib>

#include "frontend/face_pointing.h"

namespace wuffel::web {

void PageInput::mouseDown(int x, int y, MouseButton button) {
  if (button != MouseButton::Right && watching_.pressTaken(x, y)) return;
  hooks_.activateHandheld();
  handheld_.mousePress(x, y, button);
}

void PageInput::mouseMove(int x, int y, MouseButtons held) {
  if (watching_.active()) return;
  if (held.left || held.right || held.middle) handheld_.mouseMove(x, y, held);
}

void PageInput::mouseUp(int x, int y, MouseButton button) {
  if (button != MouseButton::Right && watching_.releaseTaken()) return;
  handheld_.mouseRelease(x, y, button);
}

void PageInput::touchStart(int id, int x, int y) {
  if (watching_.pressTaken(x, y)) return;
  hooks_.activateHandheld();
  int shiftX = 0, shiftY = 0;
  const Face& face = handheld_.faceState();
  if (const auto button = buttonForTouch(face, x, y, touchSide_); button && face.elementAt(x, y) != button) {
    const auto [bx, by] = middleOf(*button);
    shiftX = bx - x;
    shiftY = by - y;
    x = bx;
    y = by;
  }
  if (buttons_.start(id, x, y) || mouseTouch_) return;
  const auto element = face.elementAt(x, y);
  const bool onFace = element == ElementId::Im_Base || element == ElementId::Im_BaseTop;
  mouseTouch_ = MouseTouch{id, x, y, onFace, false, shiftX, shiftY};
  handheld_.mousePress(x, y, MouseButton::Left);
  if (onFace) hooks_.armLongPress(id);
}

void PageInput::touchMove(int id, int x, int y) {
  if (watching_.active()) return;
  if (!mouseTouch_ || mouseTouch_->id != id || mouseTouch_->spent) return;
  x += mouseTouch_->shiftX;
  y += mouseTouch_->shiftY;
  if (mouseTouch_->longPressArmed &&
      (std::abs(x - mouseTouch_->startX) > kTouchSlop || std::abs(y - mouseTouch_->startY) > kTouchSlop))
    endLongPress(*mouseTouch_);
  handheld_.mouseMove(x, y, MouseButtons{true, false, false});
}

void PageInput::touchEnd(int id, int x, int y) {
  if (watching_.releaseTaken()) return;
  if (buttons_.end(id)) return;
  if (!mouseTouch_ || mouseTouch_->id != id) return;
  endLongPress(*mouseTouch_);
  const MouseTouch touch = *mouseTouch_;
  mouseTouch_.reset();
  if (!touch.spent) handheld_.mouseRelease(x + touch.shiftX, y + touch.shiftY, MouseButton::Left);
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
