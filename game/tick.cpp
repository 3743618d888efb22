// The game tick: six phases, the throw track's step, the thrower and the
// random draws.
#include "game/handheld.h"

namespace wuffel {

void Handheld::reseed() { draws_.reseed(static_cast<std::uint32_t>(ports_.timeOfDay.utcMillisecondsSinceMidnight())); }

int Handheld::drawBelow(int n) { return draws_.below(n); }

bool Handheld::ballInPlay() const {
  for (int lane = 1; lane <= kLanes; ++lane) {
    for (int c = 1; c <= firstFlightCell(lane); ++c)
      if (face.visible(tables.throwCell(lane, c))) return true;
    for (int c = 0; c < kBehindRallyCell; ++c)
      if (face.visible(tables.rallyCell(lane, c))) return true;
  }
  return false;
}

void Handheld::TimerGiocoTimer() {
  vars.BallSoundDue = false;
  vars.BackSoundDue = false;
  bool throwerTurn = false;
  switch (vars.TickPhase) {
    case 1: vars.TickLane = 1; MuoviBall1(1); MuoviBall2(1); ProcBrunna(1); throwerTurn = true; break;
    case 2: MuoviBall2(3); ProcBrunna(3); break;
    case 3: vars.TickLane = 2; MuoviBall1(2); MuoviBall2(2); ProcBrunna(2); throwerTurn = true; break;
    case 4: MuoviBall2(1); ProcBrunna(1); break;
    case 5: vars.TickLane = 3; MuoviBall1(3); MuoviBall2(3); ProcBrunna(3); throwerTurn = true; break;
    case 6: MuoviBall2(2); ProcBrunna(2); break;
    default: break;
  }
  vars.TickPhase = vars.TickPhase % 6 + 1;

  if (!vars.MissPending) {
    const bool inPlay = ballInPlay();
    if (throwerTurn) throwerStep(inPlay);
    if (vars.BackSoundDue)
      channel(ChannelId::MPlayerBack).play();
    else if (vars.BallSoundDue)
      channel(ChannelId::MPlayerBall).play();
    return;
  }
  startMiss();
}

void Handheld::MuoviBall1(int lane) {
  const int first = firstFlightCell(lane);
  for (int c = 1; c <= first; ++c)
    if (face.visible(tables.throwCell(lane, c))) {
      vars.BallSoundDue = true;
      break;
    }
  for (int c = 0; c <= first; ++c)
    face.setVisible(tables.throwCell(lane, c), face.visible(tables.throwCell(lane, c + 1)));
  face.hide(tables.throwCell(lane, first));
  if (face.visible(tables.throwCell(lane, 0))) vars.MissPending = true;
}

void Handheld::throwerStep(bool inPlay) {
  reseed();
  if (vars.ThrowLane == 0 && !inPlay) {
    vars.ThrowLane = drawBelow(3) + 1;
    vars.ThrowState = 1;
  } else if (vars.ThrowLane == 0 && !vars.FirstBall) {
    if (drawBelow(vars.ThrowOdds) == 0) {
      vars.ThrowLane = drawBelow(3) + 1;
      vars.ThrowState = 1;
    }
  }
  using E = ElementId;
  switch (vars.ThrowState) {
    case 1:
      if (vars.TickLane != vars.ThrowLane) break;
      face.hide(E::Im_Tobbel3);
      face.show(tables.throwCell(vars.ThrowLane, launchCell(vars.ThrowLane)));
      vars.BallSoundDue = true;
      vars.ThrowState = 2;
      break;
    case 2:
      if (vars.TickLane != vars.ThrowLane) break;
      face.hide(E::Im_Tobbel2);
      face.hide(tables.throwCell(vars.ThrowLane, launchCell(vars.ThrowLane)));
      face.show(E::Im_Tobbel4);
      face.show(E::Im_Tobbel5);
      face.show(E::Im_Tobbel6);
      face.show(tables.throwCell(vars.ThrowLane, firstFlightCell(vars.ThrowLane)));
      vars.BackSoundDue = true;
      vars.ThrowState = 3;
      break;
    case 3:
      vars.ThrowState = 4;
      break;
    case 4:
      face.show(E::Im_Tobbel2);
      face.show(E::Im_Tobbel3);
      face.hide(E::Im_Tobbel4);
      face.hide(E::Im_Tobbel5);
      face.hide(E::Im_Tobbel6);
      vars.ThrowLane = 0;
      break;
    default:
      break;
  }
}

}  // namespace wuffel
