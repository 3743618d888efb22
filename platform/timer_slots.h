// The due times of the interval timers, for the schedulers that keep time
// themselves (virtual time, the page's clock): which tick comes next, ties
// in the order of the timers' indices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace wuffel {

class TimerSlots {
 public:
  struct Slot {
    std::optional<std::int64_t> due;
    int interval = 0;
    std::optional<std::int64_t> heldRemaining;  // while suspended
  };

  explicit TimerSlots(int count) : slots_(static_cast<std::size_t>(count)) {}

  void start(int index, std::int64_t now, int intervalMs) {
    auto& slot = slots_.at(static_cast<std::size_t>(index));
    slot.interval = intervalMs;
    slot.due = now + intervalMs;
    slot.heldRemaining.reset();
  }
  void stop(int index) {
    auto& slot = slots_.at(static_cast<std::size_t>(index));
    slot.due.reset();
    slot.heldRemaining.reset();
  }
  // Holds a running timer's count where it stands at `now`.
  void suspend(int index, std::int64_t now) {
    auto& slot = slots_.at(static_cast<std::size_t>(index));
    if (!slot.due) return;
    slot.heldRemaining = *slot.due - now;
    slot.due.reset();
  }
  // Goes on with the time it had left, then every interval; a timer not
  // held starts afresh.
  void resume(int index, std::int64_t now, int intervalMs) {
    auto& slot = slots_.at(static_cast<std::size_t>(index));
    if (!slot.heldRemaining) return start(index, now, intervalMs);
    slot.interval = intervalMs;
    slot.due = now + *slot.heldRemaining;
    slot.heldRemaining.reset();
  }
  Slot& operator[](int index) { return slots_[static_cast<std::size_t>(index)]; }

  // The timer due first at or before `time`, if any.
  std::optional<int> firstDueBy(std::int64_t time) const {
    std::optional<int> first;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      const auto& due = slots_[i].due;
      if (due && *due <= time && (!first || *due < *slots_[static_cast<std::size_t>(*first)].due))
        first = static_cast<int>(i);
    }
    return first;
  }
  std::optional<std::int64_t> earliestDue() const {
    std::optional<std::int64_t> earliest;
    for (const auto& slot : slots_)
      if (slot.due && (!earliest || *slot.due < *earliest)) earliest = slot.due;
    return earliest;
  }

 private:
  std::vector<Slot> slots_;
};

}  // namespace wuffel
