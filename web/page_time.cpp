#include "web/page_time.h"

namespace wuffel::web {

PageScheduler::PageScheduler(PageClock& clock, int timerCount, std::function<void(std::optional<std::int64_t>)> arm)
    : clock_(clock), slots_(timerCount), arm_(std::move(arm)) {}

void PageScheduler::start(int timerIndex, int intervalMs) { slots_.start(timerIndex, clock_.nowMs(), intervalMs); }

void PageScheduler::stop(int timerIndex) { slots_.stop(timerIndex); }

void PageScheduler::suspend(int timerIndex) { slots_.suspend(timerIndex, clock_.nowMs()); }

void PageScheduler::resume(int timerIndex, int intervalMs) { slots_.resume(timerIndex, clock_.nowMs(), intervalMs); }

std::optional<std::int64_t> PageScheduler::nextDue() const { return slots_.earliestDue(); }

void PageScheduler::runUntil(std::int64_t time, const std::function<void(int)>& fire) {
  while (const auto next = slots_.firstDueBy(time)) {
    auto& slot = slots_[*next];
    const std::int64_t due = *slot.due;
    clock_.moveTo(due);
    // Counted from this tick; past the ticks a long sleep missed. A handler
    // that restarts or stops the timer overrides it.
    const std::int64_t interval = slot.interval > 0 ? slot.interval : 1;
    slot.due = due + interval;
    if (time - *slot.due > kMostCatchUpMs) slot.due = due + interval * ((time - due) / interval + 1);
    fire(*next);
  }
  clock_.moveTo(time);
}

void PageScheduler::rearm() {
  const auto next = nextDue();
  if (next == armed_) return;
  armed_ = next;
  arm_(next);
}

}  // namespace wuffel::web
