#include <gtest/gtest.h>

#include <set>

#include "face/face.h"
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
    if (e.kind == ElementKind::Segment || e.kind == ElementKind::DigitPosition) {
      EXPECT_TRUE(inside) << e.name;
    }
    if (e.kind == ElementKind::DigitGlyph || e.kind == ElementKind::ButtonPicture) {
      EXPECT_FALSE(inside) << e.name;
    }
  }
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
  auto& h = rig.handheld;
  auto& inside = rig.inside;
  h.start();
  h.mousePress(560, 50, MouseButton::Left);
  EXPECT_EQ(h.mouseCapture(), E::Puls_GameA);
  EXPECT_FALSE(rig.lit(E::Puls_GameA));  // shows pressed in
  h.mouseRelease(10, 10, MouseButton::Left);  // released off the button: still its release
  EXPECT_FALSE(h.mouseCapture());
  EXPECT_TRUE(rig.lit(E::Puls_GameA));
  EXPECT_EQ(inside.vars.GameMode, GameModeValue::GameA);

  h.mousePress(560, 95, MouseButton::Right);
  EXPECT_FALSE(h.mouseCapture());
  EXPECT_TRUE(rig.lit(E::Puls_GameB));  // no pressed-in picture for the right button
}

TEST(Mouse, DraggingTheFaceMovesTheWindowTopFirstThenLeft) {
  Rig rig;
  auto& h = rig.handheld;
  auto& inside = rig.inside;
  h.start();
  h.mousePress(300, 200, MouseButton::Left);  // on the screen area: the overlay takes it
  EXPECT_EQ(inside.vars.DragOriginX, 300 - kScreenArea.left);
  h.mouseMove(310, 195, {true, false, false});
  ASSERT_EQ(rig.windows().moves.size(), 2u);
  EXPECT_EQ(rig.windows().moves[0].to.top, -505);
  EXPECT_EQ(rig.windows().moves[0].to.left, -700);
  EXPECT_EQ(rig.windows().moves[1].to.left, -690);
  h.mouseMove(320, 195, {false, true, false});  // only the right button: no move
  EXPECT_EQ(rig.windows().moves.size(), 2u);
}

}  // namespace
}  // namespace wuffel
