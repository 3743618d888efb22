// The game at a slower pace: every interval a timer is given reaches the
// clock stretched by 100 / percent, while the game (and its trace) keeps
// its own intervals.
#pragma once

#include "platform/interval_timer.h"

namespace wuffel {

class StretchedScheduler : public TimerScheduler {
 public:
  explicit StretchedScheduler(TimerScheduler& clock) : clock_(clock) {}

  // From the next start or resume of each timer on.
  void setPercent(int percent) { percent_ = percent; }
  int percent() const { return percent_; }
  // Rounded to the nearest millisecond, and never below one.
  int stretched(int intervalMs) const {
    if (percent_ == 100 || intervalMs <= 0) return intervalMs;
    const long long ms = (static_cast<long long>(intervalMs) * 100 + percent_ / 2) / percent_;
    return ms < 1 ? 1 : static_cast<int>(ms);
  }

  void start(int timerIndex, int intervalMs) override { clock_.start(timerIndex, stretched(intervalMs)); }
  void stop(int timerIndex) override { clock_.stop(timerIndex); }
  void suspend(int timerIndex) override { clock_.suspend(timerIndex); }
  void resume(int timerIndex, int intervalMs) override { clock_.resume(timerIndex, stretched(intervalMs)); }

 private:
  TimerScheduler& clock_;
  int percent_ = 100;
};

}  // namespace wuffel
