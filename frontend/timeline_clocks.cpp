#include "frontend/timeline_clocks.h"

#include <chrono>
#include <ctime>

namespace wuffel {

namespace {
// Whole days back, so that the time before the timeline's 0 stays positive.
std::int64_t sinceMidnightAtZero(std::int64_t sinceMidnightNow, std::int64_t timelineNow) {
  const std::int64_t atZero = (sinceMidnightNow - timelineNow) % kMillisecondsPerDay;
  return atZero < 0 ? atZero + kMillisecondsPerDay : atZero;
}
}  // namespace

TimelineTimeOfDay TimelineTimeOfDay::fromSystemClock(const TimelineScheduler& timeline) {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::int64_t epochMs = duration_cast<milliseconds>(now.time_since_epoch()).count();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const std::int64_t localMs =
      ((local.tm_hour * 60LL + local.tm_min) * 60 + local.tm_sec) * 1000 + (epochMs % 1000 + 1000) % 1000;
  return TimelineTimeOfDay(timeline, sinceMidnightAtZero(epochMs % kMillisecondsPerDay, timeline.now()),
                           sinceMidnightAtZero(localMs, timeline.now()));
}

}  // namespace wuffel
