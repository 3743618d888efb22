// The pace that the score sets, and the windows in which a chance comes.
#include <gtest/gtest.h>

#include "rig.h"

namespace wuffel {
namespace {

using testing::Rig;

struct ScoreRules : ::testing::Test {
  ScoreRules() {
    h.start();
    h.vars.GameRunning = true;
  }
  // Shows `score` as a scoring swing would, with no chance in the way.
  void scoreOf(std::int32_t score) {
    h.vars.ChanceActive = true;
    h.vars.Score = score;
    h.TrasformaScore(h.vars.Score);
  }
  bool triggers(std::int32_t score, std::int32_t mark) {
    h.vars.ChanceActive = false;
    h.vars.ChanceMark = mark;
    h.vars.ChanceStep = 0;
    h.vars.Score = score;
    h.TrasformaScore(h.vars.Score);
    return h.vars.ChanceStep == 1;
  }
  int tick() const { return h.timer(TimerId::TimerGioco).interval(); }

  Rig rig;
  Handheld& h = *rig.handheld;
};

// The throw odds in force while the score climbs one point at a time.
int gameAOddsAt(int score) {
  if (score > 100) return 6;
  if (score < 10) return 11;
  if (score < 20) return 10;
  if (score < 30) return 9;
  if (score < 60) return 8;
  if (score < 90) return 7;
  return 6;
}

int gameBOddsAt(int score) {
  if (score > 100) return 5;
  if (score < 20) return 11;
  if (score < 40) return 9;
  if (score < 60) return 7;
  if (score < 80) return 6;
  if (score < 90) return 5;
  return 4;
}

TEST_F(ScoreRules, GameAChangesOnlyTheThrowOddsAsTheScoreClimbs) {
  h.vars.GameMode = 1;
  for (int score = 0; score <= 350; ++score) {
    scoreOf(score);
    ASSERT_EQ(h.vars.ThrowOdds, gameAOddsAt(score)) << score;
    ASSERT_EQ(tick(), 220) << score;
  }
}

TEST_F(ScoreRules, GameBSpeedsUpAcrossEachHundredAndSlowsAgainPastIt) {
  h.vars.GameMode = 2;
  const std::array<int, 10> byTens{220, 210, 200, 190, 180, 170, 165, 160, 155, 150};
  for (int score = 0; score <= 350; ++score) {
    scoreOf(score);
    ASSERT_EQ(h.vars.ThrowOdds, gameBOddsAt(score)) << score;
    const int n = score % 100;
    // An exact hundred keeps the pace of the nineties.
    const int expected = score > 0 && n == 0 ? 150 : byTens[static_cast<std::size_t>(n / 10)];
    ASSERT_EQ(tick(), expected) << score;
  }
}

TEST_F(ScoreRules, ANewPaceRestartsTheTickFromTheHitAndTheSamePaceDoesNot) {
  h.vars.GameMode = 2;
  scoreOf(0);
  h.timer(TimerId::TimerGioco).setEnabled(true);
  rig.advanceTo(100);
  scoreOf(5);  // still 220: the count goes on
  rig.advanceTo(219);
  const int phase = h.vars.TickPhase;
  rig.advanceTo(220);
  EXPECT_NE(h.vars.TickPhase, phase);
  rig.advanceTo(300);
  scoreOf(12);  // 210, counted from now
  rig.advanceTo(509);
  const int later = h.vars.TickPhase;
  rig.advanceTo(510);
  EXPECT_NE(h.vars.TickPhase, later);
}

TEST_F(ScoreRules, AChanceComesInTheSevenScoresFromTheMarkOfEachThousand) {
  for (const int mark : {200, 500}) {
    for (int score = 0; score <= 3200; ++score) {
      const bool expected = score % 1000 >= mark && score % 1000 <= mark + 6;
      ASSERT_EQ(triggers(score, mark), expected) << score << " against " << mark;
    }
  }
}

TEST_F(ScoreRules, ATriggerStopsPlaySwitchesTheMarkAndLeavesThePaceSet) {
  h.vars.GameMode = 2;
  h.timer(TimerId::TimerGioco).setEnabled(true);
  h.timer(TimerId::TimerBlink).setEnabled(true);
  h.vars.PlayerActive = h.vars.SwingReady = true;
  ASSERT_TRUE(triggers(203, 200));
  EXPECT_EQ(h.vars.ChanceMark, 500);
  EXPECT_FALSE(h.vars.PlayerActive || h.vars.SwingReady);
  for (const auto& t : kTimers)
    EXPECT_EQ(h.timer(t.id).enabled(), t.id == TimerId::TimerChance) << t.name;
  EXPECT_EQ(h.timer(TimerId::TimerChance).interval(), 100);
  EXPECT_EQ(tick(), 220) << "the pace of 203 waits in the stopped tick";
  EXPECT_FALSE(triggers(205, 500)) << "the same window does not come twice";
}

TEST_F(ScoreRules, NoChanceDuringTheBonusNorForAClampedOrABestScore) {
  h.vars.ChanceActive = true;
  h.vars.ChanceMark = 200;
  h.vars.Score = 201;
  h.TrasformaScore(h.vars.Score);
  EXPECT_NE(h.vars.ChanceStep, 1);

  EXPECT_FALSE(triggers(10204, 200));
  EXPECT_EQ(h.vars.Score, 9999);

  h.vars.GameRunning = false;
  h.vars.ChanceActive = false;
  h.vars.HiScoreA = 203;
  h.vars.ThrowOdds = 3;
  h.TrasformaScore(h.vars.HiScoreA);
  EXPECT_NE(h.vars.ChanceStep, 1);
  EXPECT_EQ(h.vars.ThrowOdds, 3);
}

}  // namespace
}  // namespace wuffel
