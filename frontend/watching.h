// Watching a recorded game, as every front end offers it: the menu's items
// with their keys, the keys that steer a replay, and the replay's pace.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace wuffel {

enum class WatchCommand { BestGameA, BestGameB, LastGame, OpenRecording, SaveLastGame };

struct WatchItem {
  std::string_view name;
  std::string_view caption;
  // The key as both front ends name it ("F6", "Ctrl+S"); the menu shows it.
  std::string_view key;
  WatchCommand command;
};

// After the command menu's own items, before its last separator.
inline constexpr std::string_view kWatchMenuCaption = "Watch";
inline constexpr std::array<WatchItem, 5> kWatchMenu{{
    {"PM_WatchBestA", "Watch the best Game A", "F6", WatchCommand::BestGameA},
    {"PM_WatchBestB", "Watch the best Game B", "F7", WatchCommand::BestGameB},
    {"PM_WatchLast", "Watch the last game", "F8", WatchCommand::LastGame},
    {"PM_WatchFile", "Watch a recording...", "F9", WatchCommand::OpenRecording},
    {"PM_SaveGame", "Save this game...", "Ctrl+S", WatchCommand::SaveLastGame},
}};

inline constexpr std::optional<WatchCommand> watchCommandForKey(std::string_view key) {
  for (const auto& item : kWatchMenu)
    if (item.key == key) return item.command;
  return std::nullopt;
}

// The main window's title while it shows a replay ends in this.
inline constexpr std::string_view kReplayTitleSuffix = " (replay)";

// What a key does to a replay: Space pauses and goes on, Right doubles the
// pace up to 8x, Left halves it down to the real one, Esc ends the replay
// (as does a press on any of the game's buttons).
enum class ReplayKey { Pause, Faster, Slower, End };
inline constexpr std::optional<ReplayKey> replayKeyFor(std::string_view key) {
  if (key == "Space") return ReplayKey::Pause;
  if (key == "Right") return ReplayKey::Faster;
  if (key == "Left") return ReplayKey::Slower;
  if (key == "Esc") return ReplayKey::End;
  return std::nullopt;
}

class ReplayPace {
 public:
  static constexpr int kFastest = 8;

  // Applies a key other than End.
  void apply(ReplayKey key) {
    if (key == ReplayKey::Pause) paused_ = !paused_;
    if (key == ReplayKey::Faster && pace_ < kFastest) pace_ *= 2;
    if (key == ReplayKey::Slower && pace_ > 1) pace_ /= 2;
  }
  bool paused() const { return paused_; }
  int pace() const { return pace_; }
  // How much of the game `realMs` of watching plays.
  std::int64_t gameMsOf(std::int64_t realMs) const { return paused_ ? 0 : realMs * pace_; }

 private:
  bool paused_ = false;
  int pace_ = 1;
};

}  // namespace wuffel
