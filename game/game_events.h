// What happens in a game, as a player would tell it: what a front end
// announces to a screen reader. None of it changes the game.
#pragma once

#include <cstdint>

namespace wuffel {

class GameEvents {
 public:
  virtual ~GameEvents() = default;
  // A swing hit the ball; `score` is the score after it.
  virtual void scored(std::int32_t /*score*/) {}
  // A ball got past the player, who has `livesLeft` lives after it.
  virtual void lifeLost(std::int32_t /*livesLeft*/) {}
  // A chance ended in play again: lost lives back, or with none lost the bonus.
  virtual void chanceGiven(bool /*bonus*/) {}
  // The game ended with `score`; `newBest` when it beat the game's best.
  virtual void gameOver(std::int32_t /*score*/, bool /*newBest*/) {}
  // The clock shows the time of day again, TIME having been released.
  virtual void clockShown(int /*hour*/, int /*minute*/) {}
};

}  // namespace wuffel
