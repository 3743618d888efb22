#include "platform/virtual_scheduler.h"

namespace wuffel {

VirtualScheduler::VirtualScheduler(int timerCount) : slots_(timerCount) {}

void VirtualScheduler::start(int timerIndex, int intervalMs) { slots_.start(timerIndex, now_, intervalMs); }

void VirtualScheduler::stop(int timerIndex) { slots_.stop(timerIndex); }

void VirtualScheduler::suspend(int timerIndex) { slots_.suspend(timerIndex, now_); }

void VirtualScheduler::resume(int timerIndex, int intervalMs) { slots_.resume(timerIndex, now_, intervalMs); }

void VirtualScheduler::advanceTo(std::int64_t time, const std::function<void(int)>& fire) {
  while (const auto next = slots_.firstDueBy(time)) {
    auto& slot = slots_[*next];
    now_ = *slot.due;
    // The next tick is counted from this one; a handler that restarts or
    // stops the timer overrides it.
    slot.due = now_ + slot.interval;
    fire(*next);
  }
  now_ = time;
}

}  // namespace wuffel
