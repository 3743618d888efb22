// The three windows as a front end without a window manager of its own
// keeps them: shown or hidden, in front, where the program moved them, and
// which has the keyboard. A click activates a window and the active one has
// the keyboard; hiding it hands the activation to the window active before
// it. Each change is said to the trace when there is one; a front end that
// shows the windows hears of the changes through changed().
#pragma once

#include <array>
#include <cstddef>

#include "frontend/trace.h"
#include "platform/keyboard_focus.h"
#include "platform/ports.h"

namespace wuffel {

class WindowModel : public WindowSystem {
 public:
  WindowModel(int screenWidth, int screenHeight, EventLog* log);

  void show(WindowId id) override { setShown(id, true); }
  void hide(WindowId id) override;
  void bringToFront(WindowId id) override;
  WindowPosition position(WindowId id) const override { return at(id).position; }
  void moveTo(WindowId id, WindowPosition position) override;
  int screenWidth() const override { return screenWidth_; }
  int screenHeight() const override { return screenHeight_; }
  int windowWidth(WindowId id) const override { return at(id).size.width; }
  int windowHeight(WindowId id) const override { return at(id).size.height; }
  void popupMenu(int x, int y) override;

  void activate(WindowId id) { focus_.activate(id); }
  // The focus went to another program.
  void deactivate(WindowId id) { focus_.deactivate(id); }
  bool isActive(WindowId id) const { return focus_.has(id); }
  bool isShown(WindowId id) const { return at(id).shown; }
  // Whether any part of the window lies on the screen.
  bool onScreen(WindowId id) const;

 protected:
  // After a window was shown, hidden or moved.
  virtual void changed(WindowId) {}
  virtual void broughtToFrontNow(WindowId) {}
  virtual void movedNow(WindowId, WindowPosition) {}
  virtual void poppedUp(int /*x*/, int /*y*/) {}

 private:
  struct State {
    WindowPosition position;
    bool shown = false;
    WindowSize size;
  };
  State& at(WindowId id) { return state_[static_cast<std::size_t>(id)]; }
  const State& at(WindowId id) const { return state_[static_cast<std::size_t>(id)]; }
  void setShown(WindowId id, bool shown);

  PlatformWords words_;
  int screenWidth_;
  int screenHeight_;
  std::array<State, 3> state_;
  KeyboardFocus focus_;
};

}  // namespace wuffel
