// One timeline for every front end: whole milliseconds from the program's
// start, and the game's interval timers on it. Each event runs at one
// instant: a tick at the millisecond it was due, an input at the
// millisecond it came, after every tick due by then. Ticks due at the same
// millisecond fire in the timers' creation order. The runner moves the
// timeline by its script; the window program and the page by their clocks,
// waking once, when the earliest tick is due, and firing each tick at its
// own millisecond also when they woke a little late.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/interval_timer.h"
#include "platform/timer_slots.h"

namespace wuffel {

// How late a tick may come on a clock that can stall and still be followed
// by the ticks missed meanwhile.
inline constexpr std::int64_t kMostCatchUpMs = 250;

class Timeline {
 public:
  std::int64_t now() const { return now_; }
  // Never goes back: a late event still comes after the one before it.
  void moveTo(std::int64_t ms) {
    if (ms > now_) now_ = ms;
  }

 private:
  std::int64_t now_ = 0;
};

class TimelineScheduler : public TimerScheduler {
 public:
  // `mostCatchUpMs`: on a clock that can stall (a hidden tab, a suspended
  // machine), a tick later than this is followed by no further ticks to
  // catch up: each overdue timer fires once and keeps its beat. Without it
  // (virtual time) every tick due fires. `arm` is told when the front end
  // must next wake, or that nothing is due.
  using Arm = std::function<void(std::optional<std::int64_t> due)>;
  TimelineScheduler(Timeline& timeline, int timerCount, std::optional<std::int64_t> mostCatchUpMs = std::nullopt,
                    Arm arm = {});

  void start(int timerIndex, int intervalMs) override;
  void stop(int timerIndex) override;
  void suspend(int timerIndex) override;
  void resume(int timerIndex, int intervalMs) override;

  std::int64_t now() const { return timeline_.now(); }
  // Fires every tick due at or before `time` and leaves the timeline there.
  void runUntil(std::int64_t time, const std::function<void(int timerIndex)>& fire);
  std::optional<std::int64_t> nextDue() const { return slots_.earliestDue(); }
  // Tells `arm` about the earliest due tick, when it changed.
  void rearm();
  // The wake-up asked for has come.
  void woke() { armed_.reset(); }
  // Told, after a tick's handler, when a stall made that timer skip the
  // ticks it missed: its next tick comes at `nextDue`. A recording keeps it.
  using Skipped = std::function<void(int timerIndex, std::int64_t nextDue)>;
  void setSkipListener(Skipped skipped) { skipped_ = std::move(skipped); }
  // Replays such a skip: a running timer's next tick comes at `nextDue`.
  void skipTo(int timerIndex, std::int64_t nextDue);

 private:
  Timeline& timeline_;
  TimerSlots slots_;
  std::optional<std::int64_t> mostCatchUpMs_;
  Arm arm_;
  Skipped skipped_;
  std::optional<std::int64_t> armed_;
};

// The timeline of the runner and the tests, moved only by them.
class VirtualScheduler : private Timeline, public TimelineScheduler {
 public:
  // With `mostCatchUpMs`, a jump of time acts as a stall of a real clock does.
  explicit VirtualScheduler(int timerCount, std::optional<std::int64_t> mostCatchUpMs = std::nullopt)
      : TimelineScheduler(static_cast<Timeline&>(*this), timerCount, mostCatchUpMs) {}
  using TimelineScheduler::now;
  void advanceTo(std::int64_t time, const std::function<void(int timerIndex)>& fire) { runUntil(time, fire); }
};

}  // namespace wuffel
