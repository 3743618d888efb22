#include "platform/virtual_scheduler.h"

namespace wuffel {

VirtualScheduler::VirtualScheduler(int timerCount) : slots_(static_cast<std::size_t>(timerCount)) {}

void VirtualScheduler::start(int timerIndex, int intervalMs) {
  auto& slot = slots_.at(static_cast<std::size_t>(timerIndex));
  slot.interval = intervalMs;
  slot.due = now_ + intervalMs;
  slot.heldRemaining.reset();
}

void VirtualScheduler::stop(int timerIndex) {
  auto& slot = slots_.at(static_cast<std::size_t>(timerIndex));
  slot.due.reset();
  slot.heldRemaining.reset();
}

void VirtualScheduler::suspend(int timerIndex) {
  auto& slot = slots_.at(static_cast<std::size_t>(timerIndex));
  if (!slot.due) return;
  slot.heldRemaining = *slot.due - now_;
  slot.due.reset();
}

void VirtualScheduler::resume(int timerIndex, int intervalMs) {
  auto& slot = slots_.at(static_cast<std::size_t>(timerIndex));
  if (!slot.heldRemaining) return start(timerIndex, intervalMs);
  slot.interval = intervalMs;
  slot.due = now_ + *slot.heldRemaining;
  slot.heldRemaining.reset();
}

void VirtualScheduler::advanceTo(std::int64_t time, const std::function<void(int)>& fire) {
  for (;;) {
    int next = -1;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      const auto& due = slots_[i].due;
      if (due && *due <= time && (next < 0 || *due < *slots_[static_cast<std::size_t>(next)].due))
        next = static_cast<int>(i);
    }
    if (next < 0) break;
    auto& slot = slots_[static_cast<std::size_t>(next)];
    now_ = *slot.due;
    // The next tick is counted from this one; a handler that restarts or
    // stops the timer overrides it.
    slot.due = now_ + slot.interval;
    fire(next);
  }
  now_ = time;
}

}  // namespace wuffel
