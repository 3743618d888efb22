#include "platform/interval_timer.h"

namespace wuffel {

IntervalTimer::IntervalTimer(std::string_view name, int index, int intervalMs,
                             TimerScheduler& scheduler, TimerObserver* observer)
    : name_(name), index_(index), interval_(intervalMs), scheduler_(scheduler), observer_(observer) {}

void IntervalTimer::setInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (enabled_) restart();
  report();
}

void IntervalTimer::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_)
    restart();
  else {
    suspended_ = false;
    scheduler_.stop(index_);
  }
  report();
}

void IntervalTimer::suspend() {
  if (!enabled_ || suspended_ || interval_ <= 0) return;
  suspended_ = true;
  scheduler_.suspend(index_);
}

void IntervalTimer::resume() {
  if (!suspended_) return;
  suspended_ = false;
  if (interval_ > 0) scheduler_.resume(index_, interval_);
}

void IntervalTimer::restart() {
  // A suspended timer's count starts afresh once it resumes.
  if (suspended_) return scheduler_.stop(index_);
  // An interval of zero never fires, as with the platform's own timers.
  if (interval_ > 0)
    scheduler_.start(index_, interval_);
  else
    scheduler_.stop(index_);
}

void IntervalTimer::report() {
  if (observer_) observer_->timerChanged(name_, interval_, enabled_);
}

}  // namespace wuffel
