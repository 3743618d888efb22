#include "frontend/game_recorder.h"

#include <utility>

#include "frontend/game_state.h"
#include "frontend/input_words.h"
#include "frontend/recording_file.h"
#include "game/rules_digest.h"
#include "store/hiscore_store.h"

namespace wuffel {

namespace {

// "HH:MM:SS.mmm"
std::string timeOfDayText(std::int64_t ms) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", static_cast<int>(ms / 3600000),
                static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000));
  return text;
}

std::int32_t bestOf(const GameVariables& vars) {
  return vars.GameMode == GameModeValue::GameB ? vars.HiScoreB : vars.HiScoreA;
}

}  // namespace

GameRecorder::GameRecorder(const Handheld& handheld, TimelineScheduler& timeline, Origin origin, Finished finished)
    : handheld_(handheld), timeline_(timeline), origin_(std::move(origin)), finished_(std::move(finished)) {
  timeline.setSkipListener([this](int timerIndex, std::int64_t nextDue) { ticksSkipped(timerIndex, nextDue); });
}

// The moment of what comes next, when it is a new one.
void GameRecorder::timeLine() {
  if (timeline_.now() == lastAt_) return;
  lastAt_ = timeline_.now();
  events_ += "at " + std::to_string(lastAt_) + "\n";
}

// A stall made a timer skip the ticks it missed; a replay skips them too.
void GameRecorder::ticksSkipped(int timerIndex, std::int64_t nextDue) {
  if (!started_ || ended_) return;
  timeLine();
  events_ += "skip-ticks " + std::string(kTimers[static_cast<std::size_t>(timerIndex)].name) + " " +
             std::to_string(nextDue) + "\n";
}

void GameRecorder::inputArrived(const Input& input) {
  if (ended_) return;
  if (std::holds_alternative<input::Start>(input)) {
    started_ = true;
    lastAt_ = timeline_.now();
    for (const auto& info : kSettings) {
      const int value = handheld_.settings().value(info.id);
      if (value != info.defaultValue)
        startLines_ += "setting " + std::string(info.name) + " " + settingText(info.id, value) + "\n";
    }
    events_ += "start\n";
    return;
  }
  if (!started_) return;
  timeLine();
  events_ += scriptLineOf(input) + "\n";
}

void GameRecorder::eventHandled() {
  if (!started_ || ended_) return;
  const auto& vars = handheld_.variables();
  if (!bestScoresRead_) {
    bestScoresRead_ = true;
    // The best scores as the start read them.
    startLines_ += "store " + std::string(kHiScoreAReadName) + " text " + std::to_string(vars.HiScoreA) + "\n";
    startLines_ += "store " + std::string(kHiScoreBReadName) + " text " + std::to_string(vars.HiScoreB) + "\n";
  }
  if (vars.GameRunning && !running_) {
    gameStartedAt_ = timeline_.now();
    bestAtStart_ = bestOf(vars);
  }
  if (running_ && !vars.GameRunning) endedAt_ = timeline_.now();
  running_ = vars.GameRunning;
}

void GameRecorder::eventArriving() {
  if (endedAt_ && timeline_.now() > *endedAt_) finish();
}

void GameRecorder::programEnded() {
  if (started_ && !ended_ && (endedAt_ || running_)) {
    if (!endedAt_) endedAt_ = timeline_.now();
    finish();
  }
  ended_ = true;
}

std::string GameRecorder::setupLines() const {
  std::string s = "utc " + timeOfDayText(origin_.clocks.utcAtZero()) + "\n";
  s += "local " + timeOfDayText(origin_.clocks.localAtZero()) + "\n";
  s += "questions wait\n";
  // The best scores of slower or assisted play, as the store held them.
  std::string aidedBests;
  for (const auto& [name, value] : handheld_.aidedBestsRead())
    aidedBests += "store " + name + " text " + std::to_string(value) + "\n";
  return s + origin_.environment + startLines_ + aidedBests;
}

void GameRecorder::finish() {
  const std::int64_t end = *std::exchange(endedAt_, std::nullopt);
  if (end != lastAt_) {
    lastAt_ = end;
    events_ += "at " + std::to_string(end) + "\n";
  }
  const auto& vars = handheld_.variables();
  const bool newBest = bestOf(vars) > bestAtStart_ && bestOf(vars) == vars.Score;
  Recording r{vars.GameMode, vars.Score, gameStartedAt_,
              (origin_.clocks.localAtZero() + gameStartedAt_) % kMillisecondsPerDay, newBest, {}};
  r.text = std::string(kRecordingFirstLine) + "\n";
  r.text += "# release " + origin_.release + "\n";
  r.text += "# rules " + rulesDigest() + "\n";
  r.text += std::string("# game ") + r.letter() + "\n";
  r.text += "# played " + origin_.playedAtUtc + "\n";
  r.text += "# from " + std::to_string(gameStartedAt_) + "\n";
  r.text += setupLines() + events_;
  r.text += "expect score " + std::to_string(vars.Score) + "\n";
  r.text += "expect digest " + gameStateDigest(handheld_) + "\n";
  finished_(r);
}

}  // namespace wuffel
