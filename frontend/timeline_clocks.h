// The clocks the game reads, all on the program's one timeline: the UTC
// time of day that seeds the random draws, the local time of day the clock
// shows, and the sound channels' clock. Both times of day start where they
// stood at the timeline's 0 and advance with it, so that a game played
// again on the same timeline draws the same balls and shows the same clock.
#pragma once

#include <cstdint>

#include "platform/ports.h"
#include "platform/timeline.h"
#include "sound/channel.h"

namespace wuffel {

class TimelineTimeOfDay : public TimeOfDay {
 public:
  TimelineTimeOfDay(const TimelineScheduler& timeline, std::int64_t utcAtZero, std::int64_t localAtZero)
      : timeline_(timeline), utcAtZero_(utcAtZero), localAtZero_(localAtZero) {}
  int utcMillisecondsSinceMidnight() const override {
    return static_cast<int>((utcAtZero_ + timeline_.now()) % kMillisecondsPerDay);
  }
  LocalTime localTime() const override {
    const auto minutes = static_cast<int>((localAtZero_ + timeline_.now()) % kMillisecondsPerDay / 60000);
    return {minutes / 60, minutes % 60};
  }
  // The system's clocks, read now, as they stood at the timeline's 0.
  static TimelineTimeOfDay fromSystemClock(const TimelineScheduler& timeline);
  // As if the clocks had been set so at the timeline's 0 (ms since midnight).
  void setUtcAtZero(std::int64_t ms) { utcAtZero_ = ms; }
  void setLocalAtZero(std::int64_t ms) { localAtZero_ = ms; }
  std::int64_t utcAtZero() const { return utcAtZero_; }
  std::int64_t localAtZero() const { return localAtZero_; }

 private:
  const TimelineScheduler& timeline_;
  std::int64_t utcAtZero_;
  std::int64_t localAtZero_;
};

class TimelineMediaClock : public MediaClock {
 public:
  explicit TimelineMediaClock(const TimelineScheduler& timeline) : timeline_(timeline) {}
  std::int64_t nowMs() const override { return timeline_.now(); }

 private:
  const TimelineScheduler& timeline_;
};

}  // namespace wuffel
