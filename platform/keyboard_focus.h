// Which of the program's windows has the keyboard, for front ends that keep
// the windows themselves (the runner's stand-ins, the page): the one last
// activated; when that one is hidden, the one active before it that is
// still shown.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "platform/windows.h"

namespace wuffel {

class KeyboardFocus {
 public:
  void activate(WindowId id) {
    active_ = id;
    std::erase(activated_, id);
    activated_.push_back(id);
  }
  bool has(WindowId id) const { return active_ == id; }
  // The keyboard went to another program while `id` had it.
  void deactivate(WindowId id) {
    if (active_ == id) active_.reset();
  }
  // `id` was hidden; `shown` tells which windows still are.
  void hidden(WindowId id, const std::function<bool(WindowId)>& shown) {
    if (active_ != id) return;
    active_.reset();
    for (auto it = activated_.rbegin(); it != activated_.rend(); ++it)
      if (shown(*it)) return activate(*it);
  }

 private:
  std::optional<WindowId> active_;
  std::vector<WindowId> activated_;  // in the order of their last activation
};

}  // namespace wuffel
