// Interval timers with the program's rules: enabling a disabled timer, or
// giving an enabled timer a different interval, starts its count afresh;
// setting what it already has changes nothing; a disabled timer keeps its
// interval. Where the ticks come from is the scheduler's business.
#pragma once

#include <functional>
#include <string_view>

namespace wuffel {

class TimerScheduler {
 public:
  virtual ~TimerScheduler() = default;
  // The first tick is due one interval from now, then one every interval;
  // a late tick is never followed by catch-up ticks.
  virtual void start(int timerIndex, int intervalMs) = 0;
  virtual void stop(int timerIndex) = 0;
  // Holds a running timer's count where it stands; resume() goes on with the
  // time it had left, then every interval. One that cannot hold a count
  // starts it afresh.
  virtual void suspend(int timerIndex) { stop(timerIndex); }
  virtual void resume(int timerIndex, int intervalMs) { start(timerIndex, intervalMs); }
};

class TimerObserver {
 public:
  virtual ~TimerObserver() = default;
  virtual void timerChanged(std::string_view name, int intervalMs, bool enabled) = 0;
};

class IntervalTimer {
 public:
  IntervalTimer(std::string_view name, int index, int intervalMs, TimerScheduler& scheduler,
                TimerObserver* observer);

  void setInterval(int ms);
  void setEnabled(bool enabled);
  // A paused game: an enabled timer stays enabled but does not count.
  void suspend();
  void resume();
  int interval() const { return interval_; }
  bool enabled() const { return enabled_; }
  std::string_view name() const { return name_; }

 private:
  void restart();
  void report();

  std::string_view name_;
  int index_;
  int interval_;
  bool enabled_ = false;
  bool suspended_ = false;
  TimerScheduler& scheduler_;
  TimerObserver* observer_;
};

}  // namespace wuffel
