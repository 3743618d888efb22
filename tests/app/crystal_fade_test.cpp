#include <gtest/gtest.h>

#include "app/crystal_fade.h"
#include "core/rig.h"

namespace wuffel {
namespace {

using E = ElementId;
using namespace std::chrono_literals;
using Clock = CrystalFade::Clock;

const Clock::time_point t0 = Clock::time_point{} + 10s;

TEST(CrystalFade, DarkensInFortyMillisecondsClearsInAHundredAndTwentyAndTurnsBackFromWhereItIs) {
  EXPECT_FLOAT_EQ(CrystalFade::response(0, true, 0ms), 0);
  EXPECT_FLOAT_EQ(CrystalFade::response(0, true, 20ms), 0.5f);
  EXPECT_FLOAT_EQ(CrystalFade::response(0, true, 40ms), 1);
  EXPECT_FLOAT_EQ(CrystalFade::response(0, true, 400ms), 1);
  EXPECT_FLOAT_EQ(CrystalFade::response(1, false, 60ms), 0.5f);
  EXPECT_FLOAT_EQ(CrystalFade::response(1, false, 120ms), 0);
  EXPECT_FLOAT_EQ(CrystalFade::response(0.5f, true, 10ms), 0.75f);

  testing::Rig rig;
  auto& face = rig.inside.face;
  CrystalFade fade;
  fade.settle(face);
  EXPECT_EQ(fade.darkness(E::Im_Ball23, t0), 0);
  face.show(E::Im_Ball23);
  fade.follow(face, E::Im_Ball23, t0);
  EXPECT_FLOAT_EQ(fade.darkness(E::Im_Ball23, t0 + 10ms), 0.25f);
  EXPECT_EQ(fade.restsAt(E::Im_Ball23), t0 + 40ms);
  // Let go half-way: it clears from half dark, in half the clearing time.
  face.hide(E::Im_Ball23);
  fade.follow(face, E::Im_Ball23, t0 + 20ms);
  EXPECT_FLOAT_EQ(fade.darkness(E::Im_Ball23, t0 + 20ms), 0.5f);
  EXPECT_FLOAT_EQ(fade.darkness(E::Im_Ball23, t0 + 50ms), 0.25f);
  EXPECT_EQ(fade.restsAt(E::Im_Ball23), t0 + 80ms);
  EXPECT_EQ(fade.darkness(E::Im_Ball23, t0 + 80ms), 0);
  // Other segments stay at rest.
  EXPECT_EQ(fade.darkness(E::Im_Ball22, t0 + 20ms), 0);
}

TEST(CrystalFade, SegmentsAtOnePlaceAreOneElectrode) {
  testing::Rig rig;
  auto& face = rig.inside.face;
  rig.handheld.start();
  rig.inside.SvuotaSchermo();
  // Named by the first of them in drawing order.
  EXPECT_EQ(electrodeOf(E::Im_Ball11), E::Im_Ball65);
  EXPECT_EQ(electrodeOf(E::Im_Ball65), E::Im_Ball65);
  EXPECT_EQ(electrodeOf(E::Im_Ball36), electrodeOf(E::Im_Ball18));
  EXPECT_EQ(electrodeMembers(E::Im_Ball23).size(), 1u);

  CrystalFade fade;
  fade.settle(face);
  face.show(E::Im_Ball11);
  fade.follow(face, E::Im_Ball11, t0);
  // The thrown ball reaches the racket cell as the rally track takes it over:
  // the cell stays dark.
  face.show(E::Im_Ball65);
  fade.follow(face, E::Im_Ball65, t0 + 100ms);
  face.hide(E::Im_Ball11);
  fade.follow(face, E::Im_Ball11, t0 + 100ms);
  EXPECT_EQ(fade.darkness(electrodeOf(E::Im_Ball11), t0 + 110ms), 1);
  EXPECT_LE(fade.restsAt(E::Im_Ball11), t0 + 100ms);
  face.hide(E::Im_Ball65);
  fade.follow(face, E::Im_Ball65, t0 + 200ms);
  EXPECT_FLOAT_EQ(fade.darkness(electrodeOf(E::Im_Ball65), t0 + 230ms), 0.75f);
}

TEST(CrystalFade, EachDotOfADigitFollowsWhetherTheShownDigitHoldsIt) {
  testing::Rig rig;
  auto& face = rig.inside.face;
  const E position = E::Im_NumPos3;
  const GlyphSet one = glyphBit(E::Im_Num1), seven = glyphBit(E::Im_Num7), eight = glyphBit(E::Im_Num8);
  EXPECT_NE(one, seven);
  CrystalFade fade;
  face.copyPicture(position, E::Im_Num1);
  face.show(position);
  fade.settle(face);
  EXPECT_EQ(fade.restsAt(position), Clock::time_point{});

  face.copyPicture(position, E::Im_Num7);
  fade.follow(face, position, t0);
  const auto mid = t0 + 20ms;
  EXPECT_EQ(fade.digitDarkness(position, one | seven | eight, mid), 1);  // in both digits: stays dark
  EXPECT_FLOAT_EQ(fade.digitDarkness(position, seven | eight, mid), 0.5f);  // darkening
  EXPECT_FLOAT_EQ(fade.digitDarkness(position, one | eight, t0 + 60ms), 0.5f);  // clearing
  EXPECT_EQ(fade.digitDarkness(position, eight, mid), 0);  // never lit
  EXPECT_EQ(fade.restsAt(position), t0 + 120ms);

  // Back to 1 before the 7 has settled: each dot turns back from where it is.
  face.copyPicture(position, E::Im_Num1);
  fade.follow(face, position, mid);
  EXPECT_FLOAT_EQ(fade.digitDarkness(position, seven | eight, mid + 30ms), 0.25f);
  EXPECT_FLOAT_EQ(fade.digitDarkness(position, one | eight, mid + 20ms), 1);
  EXPECT_EQ(fade.restsAt(position), mid + 120ms);

  // Hidden, the position shows nothing, whatever its picture.
  face.hide(position);
  fade.follow(face, position, t0 + 1s);
  EXPECT_FLOAT_EQ(fade.digitDarkness(position, one, t0 + 1s + 60ms), 0.5f);
  EXPECT_EQ(fade.digitDarkness(position, one, t0 + 2s), 0);
}

}  // namespace
}  // namespace wuffel
