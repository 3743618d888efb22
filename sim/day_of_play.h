// A long stretch of random play on virtual time, checking after every event
// the promises the handheld makes about its state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wuffel::sim {

struct Outcome {
  std::int64_t virtualMs = 0;
  long events = 0;
  long gameTicks = 0;
  int gamesStarted = 0;
  int gamesOver = 0;
  int chances = 0;
  std::int32_t bestScore = 0;
  // The first few broken promises, each with the time and the event.
  std::vector<std::string> violations;
};

// Plays `virtualMs` of random input from `seed`.
Outcome playDay(std::uint32_t seed, std::int64_t virtualMs);

}  // namespace wuffel::sim
