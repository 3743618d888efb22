// The mouse and touches on the handheld's canvas. The mouse works as on the
// desktop. A touch works as the left button, except on HIT, UP and DOWN:
// there it holds that key with the original keys (a phone has no keys),
// and that control, each finger on its own, with modern keys, as on the
// desktop. While a game is paused those three come as the mouse too, so
// that a tap anywhere resumes. A long press on the face opens the command
// menu, as a right click does. A finger just beside one of the case's small
// buttons, within the touch area a finger needs, presses that button.
// While a replay shows, the handheld hears none of it but a right click.
#pragma once

#include <functional>
#include <optional>

#include "frontend/button_touches.h"
#include "game/handheld.h"

namespace wuffel::web {

// The DOM's mouse button numbers, and its mask of held buttons.
inline std::optional<MouseButton> domButton(int button) {
  switch (button) {
    case 0: return MouseButton::Left;
    case 1: return MouseButton::Middle;
    case 2: return MouseButton::Right;
    default: return std::nullopt;
  }
}
inline MouseButtons domButtons(int mask) { return {(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0}; }

// What a replay shown on the page takes of the input.
class ReplayInput {
 public:
  virtual ~ReplayInput() = default;
  virtual bool active() const = 0;
  // A press of the mouse or a finger, at a face point; and its release.
  virtual bool pressTaken(int x, int y) = 0;
  virtual bool releaseTaken() = 0;
};

class PageInput {
 public:
  static constexpr int kLongPressMs = 550;
  static constexpr int kTouchSlop = 8;  // face pixels a long press may wander

  struct Hooks {
    std::function<void()> activateHandheld;  // a press on an inactive window activates it
    std::function<void(int touchId)> armLongPress;
    std::function<void()> cancelLongPress;
  };
  PageInput(Handheld& handheld, ReplayInput& watching, Hooks hooks)
      : handheld_(handheld), watching_(watching), hooks_(std::move(hooks)), buttons_(handheld) {}

  void mouseDown(int x, int y, MouseButton button);
  void mouseMove(int x, int y, MouseButtons held);
  void mouseUp(int x, int y, MouseButton button);

  // The side of a button's touch area in face pixels, as the page's scale
  // makes a finger's width; 0 leaves each button its own place.
  void setTouchSide(int side) { touchSide_ = side; }
  void touchStart(int id, int x, int y);
  void touchMove(int id, int x, int y);
  void touchEnd(int id, int x, int y);
  void longPressDue(int id);

 private:
  struct MouseTouch {
    int id;
    int startX;
    int startY;
    bool longPressArmed;
    bool spent;  // became a long press: the rest of it does nothing
    int shiftX;  // from the finger to the button it pressed beside it
    int shiftY;
  };
  void endLongPress(MouseTouch& touch);

  Handheld& handheld_;
  ReplayInput& watching_;
  Hooks hooks_;
  ButtonTouches buttons_;
  std::optional<MouseTouch> mouseTouch_;  // one touch at a time acts as the mouse
  int touchSide_ = 0;
};

}  // namespace wuffel::web
