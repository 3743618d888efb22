// A day of play: random input for hours of virtual time, every promise of
// the handheld's state checked after every event. WUFFEL_SOAK_SEED and
// WUFFEL_SOAK_HOURS choose another day or a longer one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "sim/day_of_play.h"

namespace wuffel {
namespace {

long fromEnvironment(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return *end == '\0' && value > 0 ? value : fallback;
}

TEST(Soak, HoursOfRandomPlayKeepEveryPromise) {
  const auto seed = static_cast<std::uint32_t>(fromEnvironment("WUFFEL_SOAK_SEED", 20261209));
  const long hours = fromEnvironment("WUFFEL_SOAK_HOURS", 24);
  const sim::Outcome day = sim::playDay(seed, hours * 3600 * 1000);
  for (const auto& v : day.violations) ADD_FAILURE() << v;
  RecordProperty("events", std::to_string(day.events));
  std::cout << "seed " << seed << ": " << day.virtualMs / 1000 << " virtual s, " << day.events << " events, "
            << day.gameTicks << " game ticks, " << day.gamesStarted << " games started, " << day.gamesOver
            << " over, " << day.chances << " chances, best score " << day.bestScore << '\n';
  // The day must have reached the parts of the game it is meant to stress.
  EXPECT_GT(day.gamesOver, 0);
  EXPECT_GT(day.chances, 0);
}

}  // namespace
}  // namespace wuffel
