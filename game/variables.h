// The game variables every handler of the main window shares.
#pragma once

#include <cstdint>
#include <string>

namespace wuffel {

enum class GameModeValue : int { Clock = 0, GameA = 1, GameB = 2, AllLit = 3 };

struct GameVariables {
  GameModeValue GameMode = GameModeValue::Clock;
  std::int32_t Score = 0;
  std::int32_t LivesLeft = 0;
  std::int32_t PlayerLane = 0;
  std::int32_t HiScoreA = 0;
  std::int32_t HiScoreB = 0;
  std::int32_t PointsThrown = 0;
  std::int32_t PointsRally = 0;
  std::int32_t ChanceMark = 0;
  bool GameRunning = false;
  bool PlayerActive = false;
  bool SwingReady = false;
  bool KeyLatch = false;
  std::int32_t TickPhase = 0;
  std::int32_t ThrowState = 0;
  std::int32_t TickLane = 0;
  std::int32_t ThrowLane = 0;
  std::int32_t ThrowOdds = 0;
  bool FirstBall = false;
  std::int32_t MissStep = 0;
  std::int32_t ZzzStep = 0;
  std::int32_t ChanceStep = 0;
  std::int32_t BlinkCount = 0;
  bool ChanceActive = false;
  bool BallSoundDue = false;
  bool BackSoundDue = false;
  bool MissPending = false;
  bool FirstActivation = true;  // set by module initialisation
  std::int32_t DragOriginX = 0;
  std::int32_t DragOriginY = 0;
};

}  // namespace wuffel
