#include "web/page_recordings.h"

#include <chrono>
#include <ctime>

namespace wuffel::web {

namespace {
std::string utcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}
}  // namespace

PageRecordings::PageRecordings(Handheld& handheld, TimelineScheduler& timeline, const TimelineTimeOfDay& clocks,
                               KeyValueStorage& storage, std::string release, int screenWidth, int screenHeight)
    : storage_(storage) {
  const std::string screen = "screen " + std::to_string(screenWidth) + " " + std::to_string(screenHeight) + "\n";
  recorder_.emplace(handheld, timeline, GameRecorder::Origin{std::move(release), utcNow(), clocks, screen},
                    [this](const Recording& r) { finished(r); });
  handheld.observeInputs(&*recorder_);
}

void PageRecordings::finished(const Recording& r) {
  storage_.set(kLastGameKey, r.text);
  if (r.newBest)
    storage_.set(std::string(kBestGameKeyPrefix) + r.letter(), r.text);
}

}  // namespace wuffel::web
