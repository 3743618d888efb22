#include "frontend/announcer.h"

namespace wuffel {

std::string scoreSentence(std::int32_t score) { return "Score " + std::to_string(score); }

std::string missSentence(std::int32_t livesLeft) {
  if (livesLeft <= 0) return "Miss, no lives left";
  return "Miss, " + std::to_string(livesLeft) + (livesLeft == 1 ? " life left" : " lives left");
}

std::string chanceSentence(bool bonus) {
  return bonus ? "Chance: bonus points for a while" : "Chance: every life back";
}

std::string gameOverSentence(std::int32_t score, bool newBest) {
  return "Game over, score " + std::to_string(score) + (newBest ? ", a new best" : "");
}

std::string clockSentence(int hour, int minute) {
  const int shown = hour % 12 == 0 ? 12 : hour % 12;
  const std::string minutes = (minute < 10 ? "0" : "") + std::to_string(minute);
  return "The time is " + std::to_string(shown) + ":" + minutes + (hour < 12 ? " AM" : " PM");
}

void Announcer::scored(std::int32_t score) {
  if (silent_) return;
  const std::int64_t now = now_();
  if (scoreSaid_ && now - scoreSaidAt_ < kScoreEveryMs) return;
  scoreSaid_ = true;
  scoreSaidAt_ = now;
  say(scoreSentence(score));
}

void Announcer::lifeLost(std::int32_t livesLeft) { say(missSentence(livesLeft)); }

void Announcer::chanceGiven(bool bonus) { say(chanceSentence(bonus)); }

void Announcer::gameOver(std::int32_t score, bool newBest) { say(gameOverSentence(score, newBest)); }

void Announcer::clockShown(int hour, int minute) { say(clockSentence(hour, minute)); }

void Announcer::say(const std::string& sentence) {
  if (!silent_ && speak_) speak_(sentence);
}

}  // namespace wuffel
