// The three windows as parts of one page: the splash section, the handheld's
// canvas and the about panel. The page keeps each window's place as the
// game sets it, though nothing moves on the page: the handheld shows once it
// has stood on the screen ("- PLAY -" centres it there), and a drag cannot
// take it off the page.
// Like the desktop, one window has the keyboard.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "platform/keyboard_focus.h"
#include "platform/ports.h"
#include "web/page_trace.h"

namespace wuffel::web {

struct PageViews {
  bool splash = false;
  bool handheld = false;
  bool about = false;
  bool operator==(const PageViews&) const = default;
};

class PageWindows : public WindowSystem {
 public:
  PageWindows(int screenWidth, int screenHeight, PageTrace* trace, std::function<void(const PageViews&)> show,
              std::function<void(int x, int y)> popup);

  void show(WindowId id) override { setShown(id, true); }
  void hide(WindowId id) override;
  void bringToFront(WindowId id) override;
  bool isShown(WindowId id) const { return at(id).shown; }
  WindowPosition position(WindowId id) const override { return at(id).pos; }
  void moveTo(WindowId id, WindowPosition pos) override;
  int screenWidth() const override { return screenWidth_; }
  int screenHeight() const override { return screenHeight_; }
  int windowWidth(WindowId id) const override { return at(id).width; }
  int windowHeight(WindowId id) const override { return at(id).height; }
  void popupMenu(int x, int y) override;

  void activate(WindowId id) { focus_.activate(id); }
  bool isActive(WindowId id) const { return focus_.has(id); }

 private:
  struct State {
    WindowPosition pos;
    bool shown = false;
    int width = 0;
    int height = 0;
  };
  State& at(WindowId id) { return state_[static_cast<std::size_t>(id)]; }
  const State& at(WindowId id) const { return state_[static_cast<std::size_t>(id)]; }
  void setShown(WindowId id, bool shown);
  bool onScreen(WindowId id) const;
  void updateViews();

  int screenWidth_;
  int screenHeight_;
  PageTrace* trace_;
  std::function<void(const PageViews&)> show_;
  std::function<void(int, int)> popup_;
  std::array<State, 3> state_;
  KeyboardFocus focus_;
  std::optional<PageViews> shownViews_;
  bool handheldPlaced_ = false;
};

}  // namespace wuffel::web
