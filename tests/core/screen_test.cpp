#include <gtest/gtest.h>

#include "rig.h"

namespace wuffel {
namespace {

using E = ElementId;
using testing::Rig;

std::string digits(const Handheld& h) {
  std::string s;
  for (auto pos : h.tables.scoreDigits) {
    const auto p = h.face.picture(pos);
    char c = '-';
    for (int d = 0; d < 10; ++d)
      if (p && *p == h.tables.digitGlyphs[d]) c = static_cast<char>('0' + d);
    s += c;
  }
  return s;
}

struct ScreenRoutines : ::testing::Test {
  ScreenRoutines() { rig.handheld->start(); }
  Rig rig;
  Handheld& h = *rig.handheld;
};

TEST_F(ScreenRoutines, TheLitFaceShowsEverySegmentButPmAndReadsTwelveOClock) {
  for (const auto& e : kElements) {
    const bool expected = e.kind != ElementKind::DigitGlyph && e.id != E::Im_TimePM &&
                          !(e.id == E::Im_Ball66 || e.id == E::Im_Ball56 || e.id == E::Im_Ball46);
    EXPECT_EQ(h.face.visible(e.id), expected) << e.name;
  }
  EXPECT_EQ(digits(h), "1200");
  EXPECT_EQ(h.vars.GameMode, 3);
  EXPECT_EQ(h.face.picture(E::Im_Miss1), E::Im_Miss3);
  EXPECT_EQ(h.face.picture(E::Im_Ball65), E::Im_Ball11);
}

TEST_F(ScreenRoutines, ClearingLeavesTheDisplayAndClearsRallyCellFive) {
  h.face.show(E::Im_Ball56);
  h.tables.rally(2, 5).incoming = true;
  h.SvuotaSchermo();
  for (const auto& e : kElements) {
    if (e.kind != ElementKind::Segment) continue;
    const bool display = e.id == E::Im_TimeAM || e.id == E::Im_TimePP;
    EXPECT_EQ(h.face.visible(e.id), display) << e.name;
  }
  EXPECT_TRUE(h.tables.rally(2, 5).incoming);  // flags are not touched
  EXPECT_EQ(digits(h), "1200");
  for (auto d : h.tables.scoreDigits) EXPECT_TRUE(h.face.visible(d));
}

TEST_F(ScreenRoutines, PreparingForPlaySetsUpLaneTwoAndOnlyGameAStartsAFirstBallPeriod) {
  for (int c = 0; c < kRallyCells; ++c) h.tables.rally(1, c).outgoing = h.tables.rally(1, c).incoming = true;
  h.tables.swing(3) = 4;
  h.vars.GameMode = 2;
  h.PreparaSchermo();
  EXPECT_FALSE(h.face.visible(E::Im_CrashSleep));
  EXPECT_FALSE(h.face.visible(E::Im_Tobbel2B));
  EXPECT_TRUE(h.face.visible(E::Im_Tobbel2A));  // left as it was
  EXPECT_TRUE(h.face.visible(E::Im_Crash));
  for (auto p : h.tables.opponentParts) EXPECT_FALSE(h.face.visible(p));
  EXPECT_EQ(h.tables.swing(3), 0);
  EXPECT_FALSE(h.tables.rally(1, 4).outgoing);
  EXPECT_TRUE(h.tables.rally(1, 5).outgoing && h.tables.rally(1, 5).incoming);
  EXPECT_TRUE(h.face.visible(E::Im_Ball61));  // segments unchanged
  EXPECT_TRUE(h.face.visible(E::Im_Wuffel2C));
  EXPECT_FALSE(h.face.visible(E::Im_Wuffel2A));
  EXPECT_TRUE(h.face.visible(E::Im_Wuffel1A));  // other lanes unchanged
  EXPECT_EQ(h.vars.PlayerLane, 2);
  EXPECT_EQ(h.vars.PointsThrown, 2);
  EXPECT_EQ(h.vars.PointsRally, 3);
  EXPECT_FALSE(h.timer(TimerId::TimerPrimaPalla).enabled());
  EXPECT_FALSE(h.vars.FirstBall);

  h.vars.GameMode = 1;
  h.PreparaSchermo();
  EXPECT_TRUE(h.vars.FirstBall);
  EXPECT_TRUE(h.timer(TimerId::TimerPrimaPalla).enabled());
  EXPECT_EQ(h.timer(TimerId::TimerPrimaPalla).interval(), 29040);
}

TEST_F(ScreenRoutines, MissDisplayFollowsTheLivesLeft) {
  const std::array<std::array<bool, 4>, 4> expected{{
      {true, true, true, true},     // 0 lives
      {true, true, true, false},    // 1
      {true, true, false, false},   // 2
      {false, false, false, false}  // 3
  }};
  for (int lives = 0; lives <= 3; ++lives) {
    h.vars.LivesLeft = lives;
    h.MostraVite();
    EXPECT_EQ(h.face.visible(E::Im_Miss0), expected[lives][0]) << lives;
    EXPECT_EQ(h.face.visible(E::Im_Miss1), expected[lives][1]) << lives;
    EXPECT_EQ(h.face.visible(E::Im_Miss2), expected[lives][2]) << lives;
    EXPECT_EQ(h.face.visible(E::Im_Miss3), expected[lives][3]) << lives;
  }
  h.vars.LivesLeft = 7;
  h.MostraVite();  // unchanged
  EXPECT_FALSE(h.face.visible(E::Im_Miss0));
}

TEST_F(ScreenRoutines, NumbersAreDrawnWithoutLeadingZerosAndHeldAt9999) {
  std::int32_t n = 7;
  h.TrasformaScore(n);
  EXPECT_EQ(digits(h), "---7");
  n = 10;
  h.TrasformaScore(n);
  EXPECT_EQ(digits(h), "--10");
  n = 1000;
  h.TrasformaScore(n);
  EXPECT_EQ(digits(h), "1000");
  n = 0;
  h.TrasformaScore(n);
  EXPECT_EQ(digits(h), "---0");
  n = 9998;
  h.TrasformaScore(n);
  n = 10000;
  h.TrasformaScore(n);
  EXPECT_EQ(n, 9999);
  EXPECT_EQ(digits(h), "9999") << "a capped number shows the cap, not the number before";
  n = 12345;  // a best score past the display, read from the store
  h.RiempiSchermo();
  h.TrasformaScore(n);
  EXPECT_EQ(n, 9999);
  EXPECT_EQ(digits(h), "9999") << "not the lit face's 1200";
  n = -5;
  h.TrasformaScore(n);
  EXPECT_EQ(digits(h), "---0");
  EXPECT_EQ(n, -5);
  // A hidden position receives its picture and stays hidden.
  h.face.hide(E::Im_NumPos4);
  n = 3;
  h.TrasformaScore(n);
  EXPECT_FALSE(h.face.visible(E::Im_NumPos4));
  EXPECT_EQ(digits(h), "---3");
}

TEST_F(ScreenRoutines, ThePlayerAtRestAfterASwingFrame) {
  h.vars.PlayerLane = 3;
  h.MostraWuffel();
  EXPECT_TRUE(h.face.visible(E::Im_Wuffel3) && h.face.visible(E::Im_Wuffel3C));
  EXPECT_FALSE(h.face.visible(E::Im_Wuffel3A) || h.face.visible(E::Im_Wuffel3B));
  h.NascondiWuffel();
  for (auto p : h.tables.playerPoses[2]) EXPECT_FALSE(h.face.visible(p));
}

}  // namespace
}  // namespace wuffel
