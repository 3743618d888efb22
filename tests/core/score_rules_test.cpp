// The pace that the score sets, and the windows in which a chance comes.
#include <gtest/gtest.h>

#include <vector>

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

// The pace at each score from 0 to 350, a point at a time.
struct Pace {
  int odds;
  int tick;
};

std::vector<Pace> climb(ScoreRules& rules) {
  std::vector<Pace> paces;
  for (int score = 0; score <= 350; ++score) {
    rules.scoreOf(score);
    paces.push_back({rules.inside.vars.ThrowOdds, rules.tick()});
  }
  return paces;
}

// The game gets harder as the score climbs: throws come more often and, in
// Game B, the tick quickens; each step is taken at a ten, and past the
// first hundred the throws come at one rate for good.
void expectHarderByTens(const std::vector<Pace>& paces, int firstOdds, int oddsPastAHundred) {
  EXPECT_EQ(paces.front().odds, firstOdds);
  for (int score = 1; score <= 100; ++score) {
    const Pace& before = paces[score - 1];
    const Pace& now = paces[score];
    EXPECT_LE(now.odds, before.odds) << score;
    if (score % 10 != 0) {
      EXPECT_EQ(now.odds, before.odds) << "a step between the tens at " << score;
    }
  }
  for (int score = 101; score <= 350; ++score) EXPECT_EQ(paces[score].odds, oddsPastAHundred) << score;
}

TEST_F(ScoreRules, GameAChangesOnlyTheThrowOddsAsTheScoreClimbs) {
  inside.vars.GameMode = GameModeValue::GameA;
  const auto paces = climb(*this);
  expectHarderByTens(paces, 11, 6);
  for (const Pace& pace : paces) EXPECT_EQ(pace.tick, 220);
}

TEST_F(ScoreRules, GameBSpeedsUpAcrossEachHundredAndSlowsAgainPastIt) {
  inside.vars.GameMode = GameModeValue::GameB;
  const auto paces = climb(*this);
  expectHarderByTens(paces, 11, 5);
  for (int score = 1; score <= 350; ++score) {
    const int intoTheHundred = score % 100;
    const int before = paces[score - 1].tick;
    const int now = paces[score].tick;
    if (intoTheHundred == 0) {
      EXPECT_EQ(now, before) << "an exact hundred keeps the pace of the nineties at " << score;
    } else if (intoTheHundred == 1) {
      EXPECT_EQ(now, 220) << "each hundred starts at the first pace, at " << score;
    } else if (intoTheHundred % 10 == 0) {
      EXPECT_LT(now, before) << score;
    } else {
      EXPECT_EQ(now, before) << "a change between the tens at " << score;
    }
  }
  EXPECT_EQ(paces[99].tick, 150) << "the fastest pace, at the top of a hundred";
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
