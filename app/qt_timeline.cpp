#include "app/qt_timeline.h"

#include <algorithm>

namespace wuffel {

QtTimeline::QtTimeline(int timerCount, std::function<void(int)> fire)
    : scheduler_(timeline_, timerCount, kMostCatchUpMs, [this](std::optional<std::int64_t> due) { arm(due); }),
      fire_(std::move(fire)) {
  clock_.start();
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&wake_, &QTimer::timeout, [this] {
    scheduler_.woke();
    runUntil(elapsed());
    scheduler_.rearm();
  });
}

void QtTimeline::runUntil(std::int64_t time) { scheduler_.runUntil(time, fire_); }

void QtTimeline::arm(std::optional<std::int64_t> due) {
  if (!due) return wake_.stop();
  wake_.start(static_cast<int>(std::clamp<std::int64_t>(*due - elapsed(), 0, 24LL * 60 * 60 * 1000)));
}

}  // namespace wuffel
