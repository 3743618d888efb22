// The pace that the score sets, and the windows in which a chance comes.
#include <gtest/gtest.h>

#include "rig.h"

namespace wuffel {
namespace {

using testing::Rig;

struct ScoreRules : ::testing::Test {
  ScoreRules() {
    h.start();
    inside.vars.GameRunning = true;
  }
  // Shows `score` as a scoring swing would, with no chance in the way.
  void scoreOf(std::int32_t score) {
    inside.vars.ChanceActive = true;
    inside.vars.Score = score;
    inside.TrasformaScore(inside.vars.Score);
  }
  bool triggers(std::int32_t score, std::int32_t mark) {
    inside.vars.ChanceActive = false;
    inside.vars.ChanceMark = mark;
    inside.vars.ChanceStep = 0;
    inside.vars.Score = score;
    inside.TrasformaScore(inside.vars.Score);
    return inside.vars.ChanceStep == 1;
  }
  int tick() const { return h.timerState(TimerId::TimerGioco).interval(); }

  Rig rig;
  Handheld& h = rig.handheld;
  HandheldTestAccess& inside = rig.inside;
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
  inside.vars.GameMode = GameModeValue::GameA;
  for (int score = 0; score <= 350; ++score) {
    scoreOf(score);
    ASSERT_EQ(inside.vars.ThrowOdds, gameAOddsAt(score)) << score;
    ASSERT_EQ(tick(), 220) << score;
  }
}

TEST_F(ScoreRules, GameBSpeedsUpAcrossEachHundredAndSlowsAgainPastIt) {
  inside.vars.GameMode = GameModeValue::GameB;
  const std::array<int, 10> byTens{220, 210, 200, 190, 180, 170, 165, 160, 155, 150};
  for (int score = 0; score <= 350; ++score) {
    scoreOf(score);
    ASSERT_EQ(inside.vars.ThrowOdds, gameBOddsAt(score)) << score;
    const int n = score % 100;
    // An exact hundred keeps the pace of the nineties.
    const int expected = score > 0 && n == 0 ? 150 : byTens[static_cast<std::size_t>(n / 10)];
    ASSERT_EQ(tick(), expected) << score;
  }
}

TEST_F(ScoreRules, ANewPaceRestartsTheTickFromTheHitAndTheSamePaceDoesNot) {
  inside.vars.GameMode = GameModeValue::GameB;
  scoreOf(0);
  inside.timer(TimerId::TimerGioco).setEnabled(true);
  rig.advanceTo(100);
  scoreOf(5);  // still 220: the count goes on
  rig.advanceTo(219);
  const int phase = inside.vars.TickPhase;
  rig.advanceTo(220);
  EXPECT_NE(inside.vars.TickPhase, phase);
  rig.advanceTo(300);
  scoreOf(12);  // 210, counted from now
  rig.advanceTo(509);
  const int later = inside.vars.TickPhase;
  rig.advanceTo(510);
  EXPECT_NE(inside.vars.TickPhase, later);
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
  inside.vars.GameMode = GameModeValue::GameB;
  inside.timer(TimerId::TimerGioco).setEnabled(true);
  inside.timer(TimerId::TimerBlink).setEnabled(true);
  inside.vars.PlayerActive = inside.vars.SwingReady = true;
  ASSERT_TRUE(triggers(203, 200));
  EXPECT_EQ(inside.vars.ChanceMark, 500);
  EXPECT_FALSE(inside.vars.PlayerActive || inside.vars.SwingReady);
  for (const auto& t : kTimers)
    EXPECT_EQ(h.timerState(t.id).enabled(), t.id == TimerId::TimerChance) << t.name;
  EXPECT_EQ(h.timerState(TimerId::TimerChance).interval(), 100);
  EXPECT_EQ(tick(), 220) << "the pace of 203 waits in the stopped tick";
  EXPECT_FALSE(triggers(205, 500)) << "the same window does not come twice";
}

TEST_F(ScoreRules, NoChanceDuringTheBonusNorForAClampedOrABestScore) {
  inside.vars.ChanceActive = true;
  inside.vars.ChanceMark = 200;
  inside.vars.Score = 201;
  inside.TrasformaScore(inside.vars.Score);
  EXPECT_NE(inside.vars.ChanceStep, 1);

  EXPECT_FALSE(triggers(10204, 200));
  EXPECT_EQ(inside.vars.Score, 9999);

  inside.vars.GameRunning = false;
  inside.vars.ChanceActive = false;
  inside.vars.HiScoreA = 203;
  inside.vars.ThrowOdds = 3;
  inside.TrasformaScore(inside.vars.HiScoreA);
  EXPECT_NE(inside.vars.ChanceStep, 1);
  EXPECT_EQ(inside.vars.ThrowOdds, 3);
}

}  // namespace
}  // namespace wuffel
