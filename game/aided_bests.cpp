// The best scores of games played slower or with the assist. They sit in
// the store beside the original two, under names of their own for each
// speed and the assist ("HiScoreA-speed50", "HiScoreB-assist",
// "HiScoreA-speed75-assist"), so a store without them reads as it always
// did and an aided game never replaces an original best.
#include <algorithm>
#include <utility>

#include "game/handheld.h"

namespace wuffel {

namespace {
std::string aidedBestName(GameModeValue mode, int speed, bool assist) {
  std::string name(mode == GameModeValue::GameB ? kHiScoreBWriteName : kHiScoreAWriteName);
  if (speed != kOriginalSpeed) name += "-speed" + std::to_string(speed);
  if (assist) name += "-assist";
  return name;
}
}  // namespace

// A game counts with the easiest aids it was played with, also for a part.
void Handheld::noteAidsOfGame(bool gameStarts) {
  const PlayAids now = aidsNow();
  if (gameStarts) {
    gameAids_ = now;
    return;
  }
  if (!vars.GameRunning) return;
  gameAids_.speed = std::min(gameAids_.speed, now.speed);
  gameAids_.assist = gameAids_.assist || now.assist;
}

std::int32_t Handheld::readAidedBest(GameModeValue mode, PlayAids aids) {
  const std::string name = aidedBestName(mode, aids.speed, aids.assist);
  const std::int32_t best = hiScoreStore_.value().readInteger(name, 0);
  const bool known = std::any_of(aidedBestsRead_.begin(), aidedBestsRead_.end(),
                                 [&](const auto& read) { return sameValueName(read.first, name); });
  if (!known) aidedBestsRead_.emplace_back(name, best);
  return best;
}

bool Handheld::raiseAidedBest(GameModeValue mode, PlayAids aids, std::int32_t score) {
  if (score <= readAidedBest(mode, aids)) return false;
  hiScoreStore_.value().raiseInteger(aidedBestName(mode, aids.speed, aids.assist), score);
  return true;
}

void Handheld::showingAidedBest(bool shown) {
  if (std::exchange(aidedBestShown_, shown) == shown) return;
  if (ports_.playerEvents) ports_.playerEvents->aidedBestShown(shown);
}

// Those of the aids set now, which are the ones the game buttons show.
void Handheld::resetAidedBests() {
  const PlayAids aids = aidsNow();
  if (!aids.any()) return;
  for (const auto mode : {GameModeValue::GameA, GameModeValue::GameB})
    hiScoreStore_.value().writeInteger(aidedBestName(mode, aids.speed, aids.assist), 0);
}

}  // namespace wuffel
