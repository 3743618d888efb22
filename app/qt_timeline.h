// The program's one timeline on the steady clock, as the runner and the page
// keep theirs: milliseconds from the program's start, every tick at the
// millisecond it was due, and before each input every tick due by its
// moment. One single-shot timer wakes the program when the earliest tick is
// due; nothing wakes it while no timer runs.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

#include "game/inputs.h"
#include "platform/timeline.h"

namespace wuffel {

class QtTimeline : public InputObserver {
 public:
  // `fire` runs a timer's tick, by the timer's index.
  QtTimeline(int timerCount, std::function<void(int timerIndex)> fire);

  TimelineScheduler& scheduler() { return scheduler_; }
  // Milliseconds since the timeline started.
  std::int64_t elapsed() const { return clock_.elapsed(); }

  void beforeInput() override { runUntil(elapsed()); }
  void inputArrived(const Input&) override {}
  void eventHandled() override { scheduler_.rearm(); }

 private:
  void runUntil(std::int64_t time);
  void arm(std::optional<std::int64_t> due);

  QElapsedTimer clock_;
  Timeline timeline_;
  TimelineScheduler scheduler_;
  std::function<void(int)> fire_;
  QTimer wake_;
};

}  // namespace wuffel
