// Time on the page: whole milliseconds from the page's start. Each event
// runs at one instant, as in the scenario runner: a tick at the moment it
// was due, an input at the moment it came, after every tick due by then.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/interval_timer.h"
#include "platform/timer_slots.h"
#include "sound/channel.h"

namespace wuffel::web {

class PageClock : public MediaClock {
 public:
  std::int64_t nowMs() const override { return now_; }
  // Never goes back: a late event still comes after the one before it.
  void moveTo(std::int64_t ms) {
    if (ms > now_) now_ = ms;
  }

 private:
  std::int64_t now_ = 0;
};

// The game's interval timers on the page clock. The page wakes once, when
// the earliest tick is due; between ticks nothing runs. Ticks due at the
// same millisecond fire in the timers' creation order, each at the
// millisecond it was due, also when the page woke a few milliseconds late:
// the game keeps the runner's timeline. A page that wakes much later (a
// hidden tab, a stalled machine) fires each overdue timer once, and its
// next tick keeps to the timer's beat: it does not fire again and again to
// catch up.
class PageScheduler : public TimerScheduler {
 public:
  // How late a tick may come and still be followed by the ticks missed meanwhile.
  static constexpr std::int64_t kMostCatchUpMs = 250;

  // `arm` is told when the page must next wake, or that nothing is due.
  PageScheduler(PageClock& clock, int timerCount, std::function<void(std::optional<std::int64_t>)> arm);

  void start(int timerIndex, int intervalMs) override;
  void stop(int timerIndex) override;
  void suspend(int timerIndex) override;
  void resume(int timerIndex, int intervalMs) override;

  // Fires every tick due at or before `time` and leaves the clock there.
  void runUntil(std::int64_t time, const std::function<void(int timerIndex)>& fire);
  std::optional<std::int64_t> nextDue() const;
  // Tells `arm` about the earliest due tick, when it changed.
  void rearm();
  // The wake-up asked for has come.
  void woke() { armed_.reset(); }

 private:
  PageClock& clock_;
  TimerSlots slots_;
  std::function<void(std::optional<std::int64_t>)> arm_;
  std::optional<std::int64_t> armed_;
};

}  // namespace wuffel::web
