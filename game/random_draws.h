// The random draws: a 32-bit linear congruential generator that the handheld
// re-seeds from the UTC time of day before every decision.
#pragma once

#include <cstdint>

namespace wuffel {

class RandomDraws {
 public:
  void reseed(std::uint32_t seed) { seed_ = seed; }
  // A number from 0 to n - 1: the high half of the next seed times n.
  int below(int n) {
    seed_ = seed_ * kMultiplier + 1u;
    return static_cast<int>((static_cast<std::uint64_t>(seed_) * static_cast<std::uint64_t>(n)) >> 32);
  }

 private:
  static constexpr std::uint32_t kMultiplier = 134775813u;
  std::uint32_t seed_ = 0;
};

}  // namespace wuffel
