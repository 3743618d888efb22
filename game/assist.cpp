// The assist: while a game runs, the player steps by itself to the lane of
// the ball that will reach the racket next, so that the swing is the only
// control left. It never moves the player in the middle of a swing.
#include "game/handheld.h"

namespace wuffel {

namespace {
constexpr int kPhases = 6;
// The lane each tick phase moves a ball along the throw track (0: none) and
// along the rally track, as TimerGiocoTimer runs them.
constexpr std::array<int, kPhases> kThrowLaneOfPhase{1, 0, 2, 0, 3, 0};
constexpr std::array<int, kPhases> kRallyLaneOfPhase{1, 3, 2, 1, 3, 2};
}  // namespace

// Ticks from now until a ball `steps` moves along its track reaches the racket.
int Handheld::ticksUntil(int steps, int lane, bool throwTrack) const {
  if (steps <= 0) return 0;
  const auto& lanes = throwTrack ? kThrowLaneOfPhase : kRallyLaneOfPhase;
  int moved = 0;
  for (int tick = 0;; ++tick) {
    const auto phase = static_cast<std::size_t>((vars.TickPhase - 1 + tick) % kPhases);
    if (lanes[phase] == lane && ++moved == steps) return tick + 1;
  }
}

std::optional<int> Handheld::laneOfNextBall() const {
  std::optional<int> best;
  int soonest = 0;
  auto consider = [&](int lane, int ticks) {
    const bool sooner = !best || ticks < soonest;
    const bool tieHere = best && ticks == soonest && lane == vars.PlayerLane;
    if (sooner || tieHere) {
      best = lane;
      soonest = ticks;
    }
  };
  for (int lane = 1; lane <= kLanes; ++lane) {
    // A ball in the thrower's hand leaves it one move of the track later.
    if (face.visible(tables.throwCell(lane, launchCell(lane))))
      consider(lane, ticksUntil(launchCell(lane) - kRacketThrowCell, lane, true));
    for (int c = kRacketThrowCell; c <= firstFlightCell(lane); ++c)
      if (face.visible(tables.throwCell(lane, c))) consider(lane, ticksUntil(c - kRacketThrowCell, lane, true));
    for (int c = 0; c <= kRacketRallyCell; ++c)
      if (rally.cell(lane, c).incoming) consider(lane, ticksUntil(kRacketRallyCell - c, lane, false));
  }
  return best;
}

void Handheld::assistPlayer() {
  if (!vars.GameRunning || !vars.PlayerActive || !vars.SwingReady || paused_) return;
  const auto lane = laneOfNextBall();
  if (!lane || *lane == vars.PlayerLane) return;
  NascondiWuffel();
  vars.PlayerLane = *lane;
  MostraWuffel();
}

// With the assist a press anywhere on the handheld but its four game
// buttons swings.
bool Handheld::assistSwingsFor(ElementId id, MouseButton button) const {
  if (!settings_.assist() || button != MouseButton::Left) return false;
  switch (id) {
    case ElementId::Puls_GameA:
    case ElementId::Puls_GameB:
    case ElementId::Puls_ACL:
    case ElementId::Puls_Time: return false;
    default: return true;
  }
}

}  // namespace wuffel
