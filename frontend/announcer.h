// What a screen reader hears of a game: a short sentence for each of the
// game's events, said through the front end's own voice (the page's live
// region, the window program's accessibility). Hits are many and quick, so
// the score is said at most once a second; silenced, it says nothing at all.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "game/game_events.h"

namespace wuffel {

class Announcer : public GameEvents {
 public:
  using Speaker = std::function<void(const std::string& sentence)>;
  static constexpr std::int64_t kScoreEveryMs = 1000;

  // `now` gives the time in ms on any steady clock.
  Announcer(std::function<std::int64_t()> now, Speaker speak) : now_(std::move(now)), speak_(std::move(speak)) {}

  // While silent, events pass unsaid and are not said later.
  void setSilent(bool silent) { silent_ = silent; }
  bool silent() const { return silent_; }

  void scored(std::int32_t score) override;
  void lifeLost(std::int32_t livesLeft) override;
  void chanceGiven(bool bonus) override;
  void gameOver(std::int32_t score, bool newBest) override;
  void clockShown(int hour, int minute) override;

 private:
  void say(const std::string& sentence);

  std::function<std::int64_t()> now_;
  Speaker speak_;
  bool silent_ = false;
  bool scoreSaid_ = false;
  std::int64_t scoreSaidAt_ = 0;
};

// The sentences, apart for the front ends' own labels and the tests.
std::string scoreSentence(std::int32_t score);
std::string missSentence(std::int32_t livesLeft);
std::string chanceSentence(bool bonus);
std::string gameOverSentence(std::int32_t score, bool newBest);
// As the face reads it: a twelve-hour clock, 0 reading 12.
std::string clockSentence(int hour, int minute);

}  // namespace wuffel
