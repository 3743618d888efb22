#include "platform/timeline.h"

namespace wuffel {

TimelineScheduler::TimelineScheduler(Timeline& timeline, int timerCount, std::optional<std::int64_t> mostCatchUpMs,
                                     Arm arm)
    : timeline_(timeline), slots_(timerCount), mostCatchUpMs_(mostCatchUpMs), arm_(std::move(arm)) {}

void TimelineScheduler::start(int timerIndex, int intervalMs) { slots_.start(timerIndex, now(), intervalMs); }

void TimelineScheduler::stop(int timerIndex) { slots_.stop(timerIndex); }

void TimelineScheduler::suspend(int timerIndex) { slots_.suspend(timerIndex, now()); }

void TimelineScheduler::resume(int timerIndex, int intervalMs) { slots_.resume(timerIndex, now(), intervalMs); }

void TimelineScheduler::runUntil(std::int64_t time, const std::function<void(int)>& fire) {
  while (const auto next = slots_.firstDueBy(time)) {
    auto& slot = slots_[*next];
    const std::int64_t due = *slot.due;
    timeline_.moveTo(due);
    // Counted from this tick; past the ticks a long stall missed. A handler
    // that restarts or stops the timer overrides it.
    const std::int64_t interval = slot.interval > 0 ? slot.interval : 1;
    slot.due = due + interval;
    const bool skips = mostCatchUpMs_ && time - *slot.due > *mostCatchUpMs_;
    if (skips) slot.due = due + interval * ((time - due) / interval + 1);
    const std::int64_t skippedTo = *slot.due;
    const int index = *next;
    fire(index);
    // Told unless the handler set the timer anew itself.
    if (skips && skipped_ && slots_[index].due == skippedTo) skipped_(index, skippedTo);
  }
  timeline_.moveTo(time);
}

void TimelineScheduler::skipTo(int timerIndex, std::int64_t nextDue) {
  auto& slot = slots_[timerIndex];
  if (slot.due) slot.due = nextDue;
}

void TimelineScheduler::rearm() {
  if (!arm_) return;
  const auto next = nextDue();
  if (next == armed_) return;
  armed_ = next;
  arm_(next);
}

}  // namespace wuffel
