#include <gtest/gtest.h>

#include <set>

#include "face/face.h"
#include "face/segment_tables.h"
#include "rig.h"

namespace wuffel {
namespace {

using E = ElementId;
using testing::Rig;

TEST(ElementTable, SharedPicturesMatchTheTableAndCopyTargetsOfTheSameSize) {
  std::set<E> shared;
  for (const auto& s : kSharedPictures) {
    EXPECT_EQ(elementInfo(s.target).picture, PictureOrigin::Shared) << nameOf(s.target);
    EXPECT_EQ(elementInfo(s.source).picture, PictureOrigin::Own) << nameOf(s.source);
    EXPECT_EQ(elementInfo(s.target).width, elementInfo(s.source).width);
    EXPECT_EQ(elementInfo(s.target).height, elementInfo(s.source).height);
    shared.insert(s.target);
  }
  int declaredShared = 0;
  for (const auto& e : kElements) declaredShared += e.picture == PictureOrigin::Shared;
  EXPECT_EQ(declaredShared, 11);
  EXPECT_EQ(shared.size(), 11u);
  // Every segment and digit position lies inside the screen area; glyphs and buttons outside.
  for (const auto& e : kElements) {
    const bool inside = e.left >= kScreenArea.left && e.top >= kScreenArea.top &&
                        e.left + e.width <= kScreenArea.left + kScreenArea.width &&
                        e.top + e.height <= kScreenArea.top + kScreenArea.height;
    if (e.kind == ElementKind::Segment || e.kind == ElementKind::DigitPosition) EXPECT_TRUE(inside) << e.name;
    if (e.kind == ElementKind::DigitGlyph || e.kind == ElementKind::ButtonPicture) EXPECT_FALSE(inside) << e.name;
  }
  EXPECT_EQ(elementNamed("Im_Ball17"), E::Im_Ball17);
  EXPECT_FALSE(elementNamed("Im_Ball19"));
}

TEST(SegmentTables, LanesCellsAndSharedPlaces) {
  SegmentTables t;
  t.fill();
  EXPECT_EQ(t.throwCell(1, launchCell(1)), E::Im_Ball18);
  EXPECT_EQ(t.throwCell(2, launchCell(2)), E::Im_Ball27);
  EXPECT_EQ(t.throwCell(3, launchCell(3)), E::Im_Ball36);
  EXPECT_EQ(t.throwCell(1, firstFlightCell(1)), E::Im_Ball17);
  EXPECT_EQ(t.throwCell(2, firstFlightCell(2)), E::Im_Ball26);
  EXPECT_EQ(t.throwCell(3, firstFlightCell(3)), E::Im_Ball35);
  EXPECT_FALSE(t.throwTrack[1][8]);
  EXPECT_FALSE(t.throwTrack[2][7]);
  EXPECT_FALSE(t.throwTrack[2][8]);
  for (int lane = 1; lane <= kLanes; ++lane) {
    // The two tracks meet at the racket cell and behind the player.
    const auto& racketRally = elementInfo(t.rally(lane, kRacketRallyCell).segment);
    const auto& racketThrow = elementInfo(t.throwCell(lane, kRacketThrowCell));
    EXPECT_EQ(racketRally.left, racketThrow.left);
    EXPECT_EQ(racketRally.top, racketThrow.top);
    const auto& behindRally = elementInfo(t.rally(lane, kBehindRallyCell).segment);
    const auto& behindThrow = elementInfo(t.throwCell(lane, 0));
    EXPECT_EQ(behindRally.left, behindThrow.left);
    EXPECT_EQ(behindRally.top, behindThrow.top);
    EXPECT_FALSE(t.rally(lane, 0).outgoing || t.rally(lane, 0).incoming);
  }
  EXPECT_EQ(t.rally(1, 0).segment, E::Im_Ball61);
  EXPECT_EQ(t.rally(3, 5).segment, E::Im_Ball46);
  EXPECT_EQ(t.pose(3, Pose::FrameB), E::Im_Wuffel3B);
  EXPECT_EQ(t.racket(2), E::Im_BrunnaBr2);
  EXPECT_EQ(t.thrower(6), E::Im_Tobbel6);
  EXPECT_EQ(t.missMarks[0], E::Im_Miss1);
  EXPECT_EQ(t.scoreDigits[3], E::Im_NumPos4);
}

TEST(Face, HitTestingFindsTheTopmostVisibleElement) {
  Face face;
  EXPECT_EQ(face.elementAt(0, 0), E::Im_Base);
  EXPECT_EQ(face.elementAt(560, 50), E::Puls_GameA);
  face.hide(E::Puls_GameA);
  EXPECT_EQ(face.elementAt(560, 50), E::Im_Base);
  face.show(E::Im_Wuffel2);
  EXPECT_EQ(face.elementAt(380, 190), E::Im_BaseTop);  // the overlay is above every segment
  EXPECT_EQ(face.elementAt(612, 120), E::Puls_ACL);
  EXPECT_EQ(face.elementAt(654, 10), std::nullopt);
  EXPECT_EQ(face.elementAt(-1, 10), std::nullopt);
}

TEST(Mouse, ALeftPressCapturesUntilReleaseOtherButtonsDoNot) {
  Rig rig;
  auto& h = *rig.handheld;
  h.start();
  h.mousePress(560, 50, MouseButton::Left);
  EXPECT_EQ(h.mouseCapture(), E::Puls_GameA);
  EXPECT_FALSE(rig.lit(E::Puls_GameA));  // shows pressed in
  h.mouseRelease(10, 10, MouseButton::Left);  // released off the button: still its release
  EXPECT_FALSE(h.mouseCapture());
  EXPECT_TRUE(rig.lit(E::Puls_GameA));
  EXPECT_EQ(h.vars.GameMode, 1);

  h.mousePress(560, 95, MouseButton::Right);
  EXPECT_FALSE(h.mouseCapture());
  EXPECT_TRUE(rig.lit(E::Puls_GameB));  // no pressed-in picture for the right button
}

TEST(Mouse, DraggingTheFaceMovesTheWindowTopFirstThenLeft) {
  Rig rig;
  auto& h = *rig.handheld;
  h.start();
  h.mousePress(300, 200, MouseButton::Left);  // on the screen area: the overlay takes it
  EXPECT_EQ(h.vars.DragOriginX, 300 - kScreenArea.left);
  h.mouseMove(310, 195, {true, false, false});
  ASSERT_EQ(rig.ports.moves.size(), 2u);
  EXPECT_EQ(rig.ports.moves[0].top, -505);
  EXPECT_EQ(rig.ports.moves[0].left, -700);
  EXPECT_EQ(rig.ports.moves[1].left, -690);
  h.mouseMove(320, 195, {false, true, false});  // only the right button: no move
  EXPECT_EQ(rig.ports.moves.size(), 2u);
}

}  // namespace
}  // namespace wuffel
