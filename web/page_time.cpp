#include "web/page_time.h"

namespace wuffel::web {

PageScheduler::PageScheduler(PageClock& clock, int timerCount, std::function<void(std::optional<std::int64_t>)> arm)
    : clock_(clock), slots_(static_cast<std::size_t>(timerCount)), arm_(std::move(arm)) {}

void PageScheduler::start(int timerIndex, int intervalMs) {
  auto& slot = slots_.at(static_cast<std::size_t>(timerIndex));
  slot.interval = intervalMs;
  slot.due = clock_.nowMs() + intervalMs;
}

void PageScheduler::stop(int timerIndex) { slots_.at(static_cast<std::size_t>(timerIndex)).due.reset(); }

std::optional<std::int64_t> PageScheduler::nextDue() const {
  std::optional<std::int64_t> next;
  for (const auto& slot : slots_)
    if (slot.due && (!next || *slot.due < *next)) next = slot.due;
  return next;
}

void PageScheduler::runUntil(std::int64_t time, const std::function<void(int)>& fire) {
  for (;;) {
    int next = -1;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      const auto& due = slots_[i].due;
      if (due && *due <= time && (next < 0 || *due < *slots_[static_cast<std::size_t>(next)].due))
        next = static_cast<int>(i);
    }
    if (next < 0) break;
    auto& slot = slots_[static_cast<std::size_t>(next)];
    const std::int64_t due = *slot.due;
    clock_.moveTo(due);
    // Counted from this tick; past the ticks a long sleep missed. A handler
    // that restarts or stops the timer overrides it.
    const std::int64_t interval = slot.interval > 0 ? slot.interval : 1;
    slot.due = due + interval;
    if (time - *slot.due > kMostCatchUpMs) slot.due = due + interval * ((time - due) / interval + 1);
    fire(next);
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
