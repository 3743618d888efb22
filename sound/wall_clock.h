#pragma once

#include <chrono>

#include "sound/channel.h"

namespace wuffel {

class WallClock : public MediaClock {
 public:
  std::int64_t nowMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

}  // namespace wuffel
