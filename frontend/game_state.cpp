#include "frontend/game_state.h"

#include <sstream>

#include "face/digit_readout.h"
#include "platform/fnv_digest.h"

namespace wuffel {

std::string digitsLine(const Face& face) {
  std::string s = "dump digits";
  for (int position = 0; position < 4; ++position) {
    const auto digit = digitShown(face, position);
    s += " " + (digit ? std::to_string(*digit) : std::string("-"));
  }
  return s;
}

std::string varsLine(const GameVariables& v, const RallyState& rally) {
  std::ostringstream s;
  s << "dump vars GameMode=" << static_cast<int>(v.GameMode) << " Score=" << v.Score << " LivesLeft=" << v.LivesLeft
    << " PlayerLane=" << v.PlayerLane << " HiScoreA=" << v.HiScoreA << " HiScoreB=" << v.HiScoreB
    << " PointsThrown=" << v.PointsThrown << " PointsRally=" << v.PointsRally << " ChanceMark=" << v.ChanceMark
    << " GameRunning=" << v.GameRunning << " PlayerActive=" << v.PlayerActive << " SwingReady=" << v.SwingReady
    << " KeyLatch=" << v.KeyLatch << " TickPhase=" << v.TickPhase << " ThrowState=" << v.ThrowState
    << " TickLane=" << v.TickLane << " ThrowLane=" << v.ThrowLane << " ThrowOdds=" << v.ThrowOdds
    << " FirstBall=" << v.FirstBall << " MissStep=" << v.MissStep << " ZzzStep=" << v.ZzzStep
    << " ChanceStep=" << v.ChanceStep << " BlinkCount=" << v.BlinkCount << " ChanceActive=" << v.ChanceActive
    << " BallSoundDue=" << v.BallSoundDue << " BackSoundDue=" << v.BackSoundDue << " MissPending=" << v.MissPending
    << " OpponentSwing=" << rally.swing(1) << "," << rally.swing(2) << "," << rally.swing(3)
    << " FirstActivation=" << v.FirstActivation << " DragOriginX=" << v.DragOriginX
    << " DragOriginY=" << v.DragOriginY;
  return s.str();
}

std::string rallyLine(const RallyState& rally) {
  std::string s = "dump rally";
  for (int lane = 1; lane <= kLanes; ++lane) {
    s += ' ';
    for (int c = 0; c < kRallyCells; ++c) {
      const auto& cell = rally.cell(lane, c);
      s += cell.outgoing && cell.incoming ? 'b' : cell.outgoing ? 'o' : cell.incoming ? 'i' : '.';
    }
  }
  return s;
}

std::string gameStateDigest(const Handheld& handheld) {
  FnvDigest digest;
  digest.add(digitsLine(handheld.faceState())).add("\n");
  digest.add(varsLine(handheld.variables(), handheld.rallyState())).add("\n");
  digest.add(rallyLine(handheld.rallyState())).add("\n");
  return digest.hex();
}

}  // namespace wuffel
