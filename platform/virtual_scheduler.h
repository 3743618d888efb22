// Virtual time for the scenario runner and the tests: whole milliseconds from
// 0, ticks fired in order of due time, ties in the order of the timers' indices.
#pragma once

#include <cstdint>
#include <functional>
#include "platform/interval_timer.h"
#include "platform/timer_slots.h"

namespace wuffel {

class VirtualScheduler : public TimerScheduler {
 public:
  explicit VirtualScheduler(int timerCount);

  void start(int timerIndex, int intervalMs) override;
  void stop(int timerIndex) override;
  void suspend(int timerIndex) override;
  void resume(int timerIndex, int intervalMs) override;

  std::int64_t now() const { return now_; }
  // Fires every tick due at or before `time`, then leaves the clock at `time`.
  void advanceTo(std::int64_t time, const std::function<void(int timerIndex)>& fire);

 private:
  TimerSlots slots_;
  std::int64_t now_ = 0;
};

}  // namespace wuffel
