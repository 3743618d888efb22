// The three windows as parts of one page: the splash section, the handheld's
// canvas and the about panel. The page keeps each window's place as the
// game sets it, though nothing moves on the page: the handheld shows once it
// has stood on the screen ("- PLAY -" centres it there), and a drag cannot
// take it off the page.
#pragma once

#include <functional>
#include <optional>

#include "frontend/window_model.h"

namespace wuffel::web {

struct PageViews {
  bool splash = false;
  bool handheld = false;
  bool about = false;
  bool operator==(const PageViews&) const = default;
};

class PageWindows : public WindowModel {
 public:
  PageWindows(int screenWidth, int screenHeight, EventLog* trace, std::function<void(const PageViews&)> show,
              std::function<void(int x, int y)> popup)
      : WindowModel(screenWidth, screenHeight, trace), show_(std::move(show)), popup_(std::move(popup)) {}

 private:
  void changed(WindowId id) override;
  void poppedUp(int x, int y) override { popup_(x, y); }

  std::function<void(const PageViews&)> show_;
  std::function<void(int, int)> popup_;
  std::optional<PageViews> shownViews_;
  bool handheldPlaced_ = false;
};

}  // namespace wuffel::web
