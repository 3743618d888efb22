#include <gtest/gtest.h>

#include "rig.h"

namespace wuffel {
namespace {

using E = ElementId;
using testing::Rig;

struct ScreenRoutines : ::testing::Test {
  ScreenRoutines() { rig.handheld.start(); }
  Rig rig;
  Handheld& h = rig.handheld;
  HandheldTestAccess& inside = rig.inside;
};

TEST_F(ScreenRoutines, TheLitFaceShowsEverySegmentButPmAndReadsTwelveOClock) {
  for (const auto& e : kElements) {
    const bool expected = e.kind != ElementKind::DigitGlyph && e.id != E::Im_TimePM &&
                          !(e.id == E::Im_Ball66 || e.id == E::Im_Ball56 || e.id == E::Im_Ball46);
    EXPECT_EQ(inside.face.visible(e.id), expected) << e.name;
  }
  EXPECT_EQ(rig.digits(), "1200");
  EXPECT_EQ(inside.vars.GameMode, GameModeValue::AllLit);
  EXPECT_EQ(inside.face.picture(E::Im_Miss1), E::Im_Miss3);
  EXPECT_EQ(inside.face.picture(E::Im_Ball65), E::Im_Ball11);
}

TEST_F(ScreenRoutines, ClearingLeavesTheDisplayAndClearsRallyCellFive) {
  inside.face.show(E::Im_Ball56);
  inside.rally.cell(2, 5).incoming = true;
  inside.SvuotaSchermo();
  for (const auto& e : kElements) {
    if (e.kind != ElementKind::Segment) continue;
    const bool display = e.id == E::Im_TimeAM || e.id == E::Im_TimePP;
    EXPECT_EQ(inside.face.visible(e.id), display) << e.name;
  }
  EXPECT_TRUE(inside.rally.cell(2, 5).incoming);  // flags are not touched
  EXPECT_EQ(rig.digits(), "1200");
  for (auto d : kSegmentTables.scoreDigits) EXPECT_TRUE(inside.face.visible(d));
}

TEST_F(ScreenRoutines, PreparingForPlaySetsUpLaneTwoAndOnlyGameAStartsAFirstBallPeriod) {
  for (int c = 0; c < kRallyCells; ++c) inside.rally.cell(1, c).outgoing = inside.rally.cell(1, c).incoming = true;
  inside.rally.swing(3) = 4;
  inside.vars.GameMode = GameModeValue::GameB;
  inside.PreparaSchermo();
  EXPECT_FALSE(inside.face.visible(E::Im_CrashSleep));
  EXPECT_FALSE(inside.face.visible(E::Im_Tobbel2B));
  EXPECT_TRUE(inside.face.visible(E::Im_Tobbel2A));  // left as it was
  EXPECT_TRUE(inside.face.visible(E::Im_Crash));
  for (auto p : kSegmentTables.opponentParts) EXPECT_FALSE(inside.face.visible(p));
  EXPECT_EQ(inside.rally.swing(3), 0);
  EXPECT_FALSE(inside.rally.cell(1, 4).outgoing);
  EXPECT_TRUE(inside.rally.cell(1, 5).outgoing && inside.rally.cell(1, 5).incoming);
  EXPECT_TRUE(inside.face.visible(E::Im_Ball61));  // segments unchanged
  EXPECT_TRUE(inside.face.visible(E::Im_Wuffel2C));
  EXPECT_FALSE(inside.face.visible(E::Im_Wuffel2A));
  EXPECT_TRUE(inside.face.visible(E::Im_Wuffel1A));  // other lanes unchanged
  EXPECT_EQ(inside.vars.PlayerLane, 2);
  EXPECT_EQ(inside.vars.PointsThrown, 2);
  EXPECT_EQ(inside.vars.PointsRally, 3);
  EXPECT_FALSE(h.timerState(TimerId::TimerPrimaPalla).enabled());
  EXPECT_FALSE(inside.vars.FirstBall);

  inside.vars.GameMode = GameModeValue::GameA;
  inside.PreparaSchermo();
  EXPECT_TRUE(inside.vars.FirstBall);
  EXPECT_TRUE(h.timerState(TimerId::TimerPrimaPalla).enabled());
  EXPECT_EQ(h.timerState(TimerId::TimerPrimaPalla).interval(), 29040);
}

TEST_F(ScreenRoutines, MissDisplayFollowsTheLivesLeft) {
  const std::array<std::array<bool, 4>, 4> expected{{
      {true, true, true, true},     // 0 lives
      {true, true, true, false},    // 1
      {true, true, false, false},   // 2
      {false, false, false, false}  // 3
  }};
  for (int lives = 0; lives <= 3; ++lives) {
    inside.vars.LivesLeft = lives;
    inside.MostraVite();
    EXPECT_EQ(inside.face.visible(E::Im_Miss0), expected[lives][0]) << lives;
    EXPECT_EQ(inside.face.visible(E::Im_Miss1), expected[lives][1]) << lives;
    EXPECT_EQ(inside.face.visible(E::Im_Miss2), expected[lives][2]) << lives;
    EXPECT_EQ(inside.face.visible(E::Im_Miss3), expected[lives][3]) << lives;
  }
  inside.vars.LivesLeft = 7;
  inside.MostraVite();  // unchanged
  EXPECT_FALSE(inside.face.visible(E::Im_Miss0));
}

TEST_F(ScreenRoutines, NumbersAreDrawnWithoutLeadingZerosAndHeldAt9999) {
  std::int32_t n = 7;
  inside.TrasformaScore(n);
  EXPECT_EQ(rig.digits(), "---7");
  n = 10;
  inside.TrasformaScore(n);
  EXPECT_EQ(rig.digits(), "--10");
  n = 1000;
  inside.TrasformaScore(n);
  EXPECT_EQ(rig.digits(), "1000");
  n = 0;
  inside.TrasformaScore(n);
  EXPECT_EQ(rig.digits(), "---0");
  n = 9998;
  inside.TrasformaScore(n);
  n = 10000;
  inside.TrasformaScore(n);
  EXPECT_EQ(n, 9999);
  EXPECT_EQ(rig.digits(), "9999") << "a capped number shows the cap, not the number before";
  n = 12345;  // a best score past the display, read from the store
  inside.RiempiSchermo();
  inside.TrasformaScore(n);
  EXPECT_EQ(n, 9999);
  EXPECT_EQ(rig.digits(), "9999") << "not the lit face's 1200";
  n = -5;
  inside.TrasformaScore(n);
  EXPECT_EQ(rig.digits(), "---0");
  EXPECT_EQ(n, -5);
  // A hidden position receives its picture and stays hidden.
  inside.face.hide(E::Im_NumPos4);
  n = 3;
  inside.TrasformaScore(n);
  EXPECT_FALSE(inside.face.visible(E::Im_NumPos4));
  EXPECT_EQ(rig.digits(), "---3");
}

TEST_F(ScreenRoutines, ThePlayerAtRestAfterASwingFrame) {
  inside.vars.PlayerLane = 3;
  inside.MostraWuffel();
  EXPECT_TRUE(inside.face.visible(E::Im_Wuffel3) && inside.face.visible(E::Im_Wuffel3C));
  EXPECT_FALSE(inside.face.visible(E::Im_Wuffel3A) || inside.face.visible(E::Im_Wuffel3B));
  inside.NascondiWuffel();
  for (auto p : kSegmentTables.playerPoses[2]) EXPECT_FALSE(inside.face.visible(p));
}

}  // namespace
}  // namespace wuffel
