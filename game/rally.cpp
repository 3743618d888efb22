// The rally track between the player and the opponent, and the opponent's swing.
#include "game/handheld.h"

namespace wuffel {

void Handheld::MuoviBall2(int lane) {
  for (int c = 0; c < kBehindRallyCell; ++c)
    if (face.visible(tables.rally(lane, c).segment)) {
      vars.BallSoundDue = true;
      break;
    }
  for (int c = kRallyCells - 1; c >= 1; --c) tables.rally(lane, c).incoming = tables.rally(lane, c - 1).incoming;
  tables.rally(lane, 0).incoming = false;
  for (int c = 0; c < kRallyCells - 1; ++c) tables.rally(lane, c).outgoing = tables.rally(lane, c + 1).outgoing;
  tables.rally(lane, kRallyCells - 1).outgoing = false;
  for (int c = 0; c < kRallyCells; ++c) {
    const auto& cell = tables.rally(lane, c);
    face.setVisible(cell.segment, cell.outgoing || cell.incoming);
  }
  if (face.visible(tables.rally(lane, kBehindRallyCell).segment)) {
    face.hide(tables.throwCell(lane, kRacketThrowCell));
    vars.MissPending = true;
  }
}

void Handheld::ProcBrunna(int lane) {
  const auto& cell2 = tables.rally(lane, 2);
  if (face.visible(cell2.segment) && cell2.outgoing && tables.swing(lane) == 0) {
    reseed();
    int r = drawBelow(7);
    for (int c = 1; c <= 4; ++c)
      if (face.visible(tables.throwCell(lane, c))) r = 100;
    if (face.visible(tables.rally(lane, 3).segment) || face.visible(tables.rally(lane, 4).segment)) r = 100;
    if (r < 3) tables.swing(lane) = 1;
  }
  auto raiseRacket = [&] {
    for (int k = 1; k <= kLanes; ++k) face.setVisible(tables.racket(k), k == lane);
  };
  auto& step = tables.swing(lane);
  switch (step) {
    case 1:
      face.show(ElementId::Im_Brunna);
      step = 2;
      break;
    case 2: {
      bool otherAtThree = false;
      for (int k = 1; k <= kLanes; ++k)
        if (k != lane && tables.swing(k) == 3) otherAtThree = true;
      if (!otherAtThree) raiseRacket();
      step = 3;
      break;
    }
    case 3:
      raiseRacket();
      tables.rally(lane, 0).outgoing = false;
      tables.rally(lane, 0).incoming = true;
      vars.BackSoundDue = true;
      step = 4;
      break;
    case 4:
      step = 5;
      break;
    case 5:
      step = 0;
      if (tables.swing(1) == 0 && tables.swing(2) == 0 && tables.swing(3) == 0) {
        face.hide(ElementId::Im_Brunna);
        face.hide(tables.racket(lane));
      }
      break;
    default:
      break;
  }
}

}  // namespace wuffel
