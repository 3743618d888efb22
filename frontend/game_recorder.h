// Records every game as it is played, as a scenario script that plays it
// again exactly: the clocks and settings it started with, the best scores
// it read, every input at the millisecond it was handled, and its end. The
// script holds the program's whole run up to the game's end, since each
// game follows from everything before it on the one timeline; a game ends
// at its game over or ACL, or when the program ends during it. Recording
// costs a line of text an input; nothing is written until a game ends.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frontend/timeline_clocks.h"
#include "game/handheld.h"

namespace wuffel {

struct Recording {
  GameModeValue game;
  std::int32_t score;
  std::int64_t startedAt;       // on the timeline
  std::int64_t localStartedAt;  // the local time of day then, ms since midnight
  bool newBest;                 // the game set a new best score, which the game stored
  std::string text;

  // The game's letter, as the header and the files name it.
  char letter() const { return game == GameModeValue::GameB ? 'B' : 'A'; }
};

class GameRecorder : public InputObserver {
 public:
  struct Origin {
    std::string release;
    std::string playedAtUtc;  // "2026-12-10T09:41:07Z", when the program started
    TimelineTimeOfDay clocks;
    // Setup lines for what the game met of its platform: the screen's size,
    // and for the runner its scripted faults.
    std::string environment;
  };
  using Finished = std::function<void(const Recording&)>;
  GameRecorder(const Handheld& handheld, TimelineScheduler& timeline, Origin origin, Finished finished);

  void eventArriving() override;
  void inputArrived(const Input& input) override;
  void eventHandled() override;
  // The program ends: a game still running ends here.
  void programEnded();

 private:
  void ticksSkipped(int timerIndex, std::int64_t nextDue);
  void timeLine();
  void finish();
  std::string setupLines() const;

  const Handheld& handheld_;
  const TimelineScheduler& timeline_;
  Origin origin_;
  Finished finished_;
  std::string startLines_;  // the settings and best scores the program started with
  std::string events_;
  std::int64_t lastAt_ = 0;
  bool started_ = false;
  bool bestScoresRead_ = false;
  bool running_ = false;
  bool ended_ = false;
  std::int64_t gameStartedAt_ = 0;
  std::int32_t bestAtStart_ = 0;
  // A game ended at this time; it is written once every event of that
  // millisecond has run, as a replay runs them.
  std::optional<std::int64_t> endedAt_;
};

}  // namespace wuffel
