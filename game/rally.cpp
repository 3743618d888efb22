// The rally track between the player and the opponent, and the opponent's swing.
#include "game/handheld.h"

namespace wuffel {

namespace {
// The opponent decides to swing at a ball two cells out when a draw below
// seven comes out below three, unless another ball is near the player.
constexpr int kOpponentDrawRange = 7;
constexpr int kOpponentSwingsBelow = 3;
constexpr int kOpponentKeepsStill = 100;  // stands for a draw that never swings
}  // namespace

void Handheld::MuoviBall2(int lane) {
  for (int c = 0; c < kBehindRallyCell; ++c)
    if (face.visible(tables.rallyCell(lane, c))) {
      vars.BallSoundDue = true;
      break;
    }
  for (int c = kRallyCells - 1; c >= 1; --c) rally.cell(lane, c).incoming = rally.cell(lane, c - 1).incoming;
  rally.cell(lane, 0).incoming = false;
  for (int c = 0; c < kRallyCells - 1; ++c) rally.cell(lane, c).outgoing = rally.cell(lane, c + 1).outgoing;
  rally.cell(lane, kRallyCells - 1).outgoing = false;
  for (int c = 0; c < kRallyCells; ++c) {
    const auto& flags = rally.cell(lane, c);
    face.setVisible(tables.rallyCell(lane, c), flags.outgoing || flags.incoming);
  }
  if (face.visible(tables.rallyCell(lane, kBehindRallyCell))) {
    face.hide(tables.throwCell(lane, kRacketThrowCell));
    vars.MissPending = true;
  }
}

void Handheld::ProcBrunna(int lane) {
  if (face.visible(tables.rallyCell(lane, 2)) && rally.cell(lane, 2).outgoing && rally.swing(lane) == 0) {
    reseed();
    int r = drawBelow(kOpponentDrawRange);
    for (int c = 1; c <= 4; ++c)
      if (face.visible(tables.throwCell(lane, c))) r = kOpponentKeepsStill;
    if (face.visible(tables.rallyCell(lane, 3)) || face.visible(tables.rallyCell(lane, 4))) r = kOpponentKeepsStill;
    if (r < kOpponentSwingsBelow) rally.swing(lane) = 1;
  }
  auto raiseRacket = [&] {
    for (int k = 1; k <= kLanes; ++k) face.setVisible(tables.racket(k), k == lane);
  };
  auto& step = rally.swing(lane);
  switch (step) {
    case 1:
      face.show(ElementId::Im_Brunna);
      step = 2;
      break;
    case 2: {
      bool otherAtThree = false;
      for (int k = 1; k <= kLanes; ++k)
        if (k != lane && rally.swing(k) == 3) otherAtThree = true;
      if (!otherAtThree) raiseRacket();
      step = 3;
      break;
    }
    case 3:
      raiseRacket();
      rally.cell(lane, 0).outgoing = false;
      rally.cell(lane, 0).incoming = true;
      vars.BackSoundDue = true;
      step = 4;
      break;
    case 4:
      step = 5;
      break;
    case 5:
      step = 0;
      if (rally.swing(1) == 0 && rally.swing(2) == 0 && rally.swing(3) == 0) {
        face.hide(ElementId::Im_Brunna);
        face.hide(tables.racket(lane));
      }
      break;
    default:
      break;
  }
}

}  // namespace wuffel
