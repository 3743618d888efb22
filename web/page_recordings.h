// The page's recordings of its games, kept in localStorage when each game
// ends: "WuffelTennis/Games/last", and "WuffelTennis/Games/best-A" and
// "best-B", replaced only with a game that beat its best score. A refused
// write (private mode, a full quota) leaves the kept ones as they were.
#pragma once

#include <optional>

#include "frontend/game_recorder.h"
#include "web/local_storage_settings.h"

namespace wuffel::web {

inline constexpr const char* kLastGameKey = "WuffelTennis/Games/last";
inline constexpr const char* kBestGameKeyPrefix = "WuffelTennis/Games/best-";

class PageRecordings {
 public:
  PageRecordings(Handheld& handheld, TimelineScheduler& timeline, const TimelineTimeOfDay& clocks,
                 KeyValueStorage& storage, std::string release, int screenWidth, int screenHeight);
  // The program ended, or the page is closing: a game still running ends here.
  ~PageRecordings() { programEnded(); }
  void programEnded() { recorder_->programEnded(); }
  PageRecordings(const PageRecordings&) = delete;
  PageRecordings& operator=(const PageRecordings&) = delete;

 private:
  void finished(const Recording& recording);

  KeyValueStorage& storage_;
  std::optional<GameRecorder> recorder_;
};

}  // namespace wuffel::web
