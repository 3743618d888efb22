// The miss sequence, the game over with its best score, the sleep
// animation, and the chance with its bonus, replayed to the millisecond.
#include <gtest/gtest.h>

#include <algorithm>

#include "rig.h"

namespace wuffel {
namespace {

using E = ElementId;
using testing::kFirstThrowInLane2;
using testing::kTick;
using testing::Rig;

constexpr std::int64_t kBallAtRacket = 39 * kTick;
constexpr std::int64_t kMissFound = 45 * kTick;

struct Sequence : ::testing::Test {
  void startGame(E button = E::Puls_GameA) {
    rig.handheld.start();
    rig.click(button);
  }
  // Advances to `ms` after `from`, every tick due by then run: the caller
  // sees the face as it stands at that millisecond.
  void at(std::int64_t from, std::int64_t ms) { rig.advanceTo(from + ms); }
  // Lets the swing at the first ball of the game score on top of `before`.
  void scoreFrom(std::int32_t before) {
    rig.advanceTo(kBallAtRacket);
    inside.vars.Score = before;
    h.keyDown(VirtualKey::Ctrl);
    h.keyUp(VirtualKey::Ctrl);
  }
  bool timerOn(TimerId id) const { return h.timerState(id).enabled(); }

  Rig rig{kFirstThrowInLane2};
  Handheld& h = rig.handheld;
  HandheldTestAccess& inside = rig.inside;
};

TEST_F(Sequence, TheFirstMissCostsALifeAndPlayResumesAt5200Ms) {
  startGame();
  at(0, kMissFound);
  ASSERT_EQ(inside.vars.MissStep, 1);
  const std::int64_t t0 = kMissFound;

  at(t0, 200);  // step 1: the balls in flight and the opponent go
  EXPECT_FALSE(rig.lit(E::Im_Tobbel3));
  EXPECT_TRUE(rig.lit(E::Im_Ball20)) << "the ball behind the player stays until step 2";
  EXPECT_EQ(inside.vars.LivesLeft, 3);
  at(t0, 450);  // step 2
  EXPECT_FALSE(rig.lit(E::Im_Ball20));
  EXPECT_EQ(inside.vars.LivesLeft, 2);
  EXPECT_EQ(h.timerState(TimerId::TimerMPlayerMiss).interval(), 1300);
  at(t0, 1199);
  EXPECT_FALSE(rig.lit(E::Im_Crash));
  at(t0, 1200);
  EXPECT_TRUE(rig.lit(E::Im_Crash));
  at(t0, 1650);
  EXPECT_FALSE(rig.lit(E::Im_Wuffel2) || rig.lit(E::Im_Wuffel2C));
  EXPECT_TRUE(rig.lit(E::Im_CrashSleep));
  EXPECT_TRUE(rig.lit(E::Im_Miss0) && rig.lit(E::Im_Miss1));
  EXPECT_FALSE(rig.lit(E::Im_Miss2));
  at(t0, 1749);
  EXPECT_EQ(rig.sounds.count("MPlayerMiss stop"), 1);  // only the stop of play
  at(t0, 1750);
  EXPECT_EQ(rig.sounds.count("MPlayerMiss stop"), 2);
  EXPECT_FALSE(timerOn(TimerId::TimerMPlayerMiss));
  at(t0, 2100);
  EXPECT_TRUE(rig.lit(E::Im_CrashZ1));
  at(t0, 2450);
  EXPECT_TRUE(rig.lit(E::Im_CrashZ2) && rig.lit(E::Im_Tobbel2A));
  EXPECT_FALSE(rig.lit(E::Im_Crash) || rig.lit(E::Im_Tobbel1) || rig.lit(E::Im_Tobbel2));
  at(t0, 2800);
  EXPECT_TRUE(rig.lit(E::Im_CrashZ3));
  at(t0, 3150);
  EXPECT_FALSE(rig.lit(E::Im_CrashZ1) || rig.lit(E::Im_CrashZ2) || rig.lit(E::Im_CrashZ3));
  at(t0, 3500);
  EXPECT_TRUE(rig.lit(E::Im_CrashZ1) && rig.lit(E::Im_Tobbel2B));
  EXPECT_FALSE(rig.lit(E::Im_Tobbel2A));
  at(t0, 4200);
  EXPECT_TRUE(rig.lit(E::Im_CrashZ3));
  at(t0, 5199);
  EXPECT_FALSE(inside.vars.PlayerActive);
  at(t0, 5200);  // step 13: play again
  EXPECT_TRUE(inside.vars.PlayerActive && inside.vars.SwingReady);
  EXPECT_FALSE(inside.vars.MissPending || timerOn(TimerId::TimerMiss));
  EXPECT_TRUE(timerOn(TimerId::TimerGioco));
  EXPECT_EQ(inside.vars.PlayerLane, 2);
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2) && rig.lit(E::Im_Tobbel1) && rig.lit(E::Im_Tobbel3));
  EXPECT_FALSE(rig.lit(E::Im_CrashSleep) || rig.lit(E::Im_CrashZ3) || rig.lit(E::Im_Tobbel2B));
  EXPECT_TRUE(rig.lit(E::Im_Miss1)) << "the lost life stays marked";
  EXPECT_EQ(inside.vars.MissStep, 14);
  EXPECT_EQ(h.timerState(TimerId::TimerPrimaPalla).interval(), 132 * kTick);
  EXPECT_EQ(inside.vars.TickPhase, 1);
  at(t0, 5200 + kTick - 1);
  EXPECT_EQ(inside.vars.TickPhase, 1);
  at(t0, 5200 + kTick);
  EXPECT_EQ(inside.vars.TickPhase, 2);
}

TEST_F(Sequence, TheThirdMissEndsTheGameKeepsABeatenBestAndTheDogSleeps) {
  rig.settings.put("HiScoreA", true, "120");
  rig.settings.put("HiScoreB", true, "77");
  startGame();
  EXPECT_EQ(inside.vars.HiScoreA, 120);
  inside.vars.LivesLeft = 1;
  inside.vars.Score = 130;
  at(0, kMissFound);
  const std::int64_t t0 = kMissFound;
  at(t0, 450);
  EXPECT_EQ(inside.vars.LivesLeft, 0);
  EXPECT_EQ(h.timerState(TimerId::TimerMPlayerMiss).interval(), 850);
  at(t0, 1650);
  EXPECT_TRUE(rig.lit(E::Im_Miss1) && rig.lit(E::Im_Miss2) && rig.lit(E::Im_Miss3));
  at(t0, 5199);
  EXPECT_EQ(rig.sounds.count("MPlayerOver play"), 0);
  at(t0, 5200);  // step 13: the game-over sound, the Zs off
  EXPECT_EQ(rig.sounds.count("MPlayerOver play"), 1);
  EXPECT_FALSE(rig.lit(E::Im_CrashZ1) || rig.lit(E::Im_CrashZ2) || rig.lit(E::Im_CrashZ3));
  EXPECT_TRUE(inside.vars.GameRunning);
  at(t0, 6399);
  EXPECT_EQ(inside.vars.HiScoreA, 120);
  at(t0, 6400);  // step 14
  EXPECT_FALSE(inside.vars.GameRunning);
  EXPECT_EQ(inside.vars.HiScoreA, 130);
  EXPECT_EQ(inside.vars.HiScoreB, 77);
  ASSERT_EQ(rig.settings.values().size(), 2u);
  EXPECT_EQ(rig.settings.values()[0].text, "130");
  EXPECT_EQ(rig.settings.values()[1].text, "77");
  EXPECT_FALSE(timerOn(TimerId::TimerMiss));
  // The sleep animation: Z1 at once, then one Z every 400 ms, all off together.
  at(t0, 6401);
  EXPECT_TRUE(rig.lit(E::Im_CrashZ1));
  EXPECT_FALSE(rig.lit(E::Im_CrashZ2));
  at(t0, 6801);
  EXPECT_TRUE(rig.lit(E::Im_CrashZ2));
  at(t0, 7201);
  EXPECT_TRUE(rig.lit(E::Im_CrashZ3));
  at(t0, 7601);
  EXPECT_FALSE(rig.lit(E::Im_CrashZ1) || rig.lit(E::Im_CrashZ2) || rig.lit(E::Im_CrashZ3));
  at(t0, 8001);
  EXPECT_TRUE(rig.lit(E::Im_CrashZ1));
  EXPECT_TRUE(rig.lit(E::Im_CrashSleep) && rig.lit(E::Im_Tobbel2B));
  // Holding "Game A" stops the Zs and shows the new best.
  const auto& a = elementInfo(E::Puls_GameA);
  h.mousePress(a.left + 1, a.top + 1, MouseButton::Left);
  EXPECT_FALSE(timerOn(TimerId::TimerZZZ));
  EXPECT_EQ(inside.face.picture(E::Im_NumPos2), kSegmentTables.digitGlyphs[1]);
  EXPECT_EQ(inside.face.picture(E::Im_NumPos3), kSegmentTables.digitGlyphs[3]);
  EXPECT_EQ(inside.face.picture(E::Im_NumPos4), kSegmentTables.digitGlyphs[0]);
}

TEST_F(Sequence, AScoreThatOnlyEqualsTheBestOrIsOfTheOtherGameWritesNothing) {
  rig.settings.put("HiscoreA", true, "120");
  startGame(E::Puls_GameB);
  inside.vars.LivesLeft = 1;
  inside.vars.Score = 150;  // Game B: compared with HiScoreB only
  at(0, 20000);
  EXPECT_FALSE(inside.vars.GameRunning);
  EXPECT_EQ(inside.vars.HiScoreA, 120);
  EXPECT_EQ(inside.vars.HiScoreB, 150);
  ASSERT_EQ(rig.settings.values().size(), 2u);
  EXPECT_EQ(rig.settings.values()[0].text, "120");
  EXPECT_EQ(rig.settings.values()[1].name, "HiScoreB");

  rig.click(E::Puls_GameB);
  inside.vars.LivesLeft = 1;
  inside.vars.Score = 150;
  rig.settings.refusesWrites = true;  // would fail if anything were written
  rig.wait(40000);
  EXPECT_FALSE(inside.vars.GameRunning);
  EXPECT_TRUE(rig.errors().empty());
}

TEST_F(Sequence, ARefusedWriteIsReportedAndTheLastStepRunsAgainWithoutIt) {
  rig.settings.refusesWrites = true;
  startGame();
  inside.vars.LivesLeft = 1;
  inside.vars.Score = 40;
  at(0, kMissFound + 6400);
  ASSERT_EQ(rig.errors().size(), 1u);
  EXPECT_EQ(rig.errors()[0], "Failed to set data for 'HiScoreA'");
  EXPECT_EQ(inside.vars.HiScoreA, 40);
  EXPECT_TRUE(inside.vars.GameRunning);
  EXPECT_EQ(inside.vars.MissStep, 14);
  EXPECT_FALSE(timerOn(TimerId::TimerZZZ));
  at(0, kMissFound + 6400 + 1200);
  EXPECT_EQ(rig.errors().size(), 1u);
  EXPECT_FALSE(inside.vars.GameRunning);
  EXPECT_TRUE(timerOn(TimerId::TimerZZZ));
  EXPECT_FALSE(timerOn(TimerId::TimerMiss));
}

TEST_F(Sequence, AResetInTheMiddleOfAMissAbandonsIt) {
  startGame();
  at(0, kMissFound + 1300);
  const auto& acl = elementInfo(E::Puls_ACL);
  h.mousePress(acl.left + 2, acl.top + 2, MouseButton::Left);
  for (const auto& t : kTimers) EXPECT_FALSE(timerOn(t.id)) << t.name;
  EXPECT_TRUE(inside.vars.MissPending);
  EXPECT_EQ(inside.vars.LivesLeft, 2);
  h.mouseRelease(acl.left + 2, acl.top + 2, MouseButton::Left);
  rig.wait(10000);
  EXPECT_EQ(inside.vars.MissStep, 4);
}

// A chance triggered by the hit that lands the score on 200: the step
// timeline from the trigger, and its outcome by the lives left.
struct Chance : Sequence {
  std::int64_t trigger(std::int32_t lives) {
    startGame();
    inside.vars.LivesLeft = lives;
    inside.MostraVite();
    scoreFrom(198);
    EXPECT_EQ(inside.vars.Score, 200);
    return kBallAtRacket;
  }
};

TEST_F(Chance, WithThreeLivesTheScoreBlinksAndHitsScoreFiveAndSix) {
  const std::int64_t t0 = trigger(3);
  EXPECT_EQ(inside.vars.ChanceStep, 1);
  EXPECT_EQ(inside.vars.ChanceMark, 500);
  EXPECT_FALSE(inside.vars.PlayerActive || inside.vars.SwingReady);
  for (auto id : {TimerId::TimerGioco, TimerId::TimerRacchetta, TimerId::TimerPrimaPalla})
    EXPECT_FALSE(timerOn(id));
  EXPECT_EQ(rig.sounds.all.back(), "MPlayerHit play");
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2A)) << "the swing stays frozen in frame A";
  at(t0, 99);
  EXPECT_EQ(rig.sounds.count("MPlayerChance play"), 0);
  at(t0, 100);
  EXPECT_EQ(rig.sounds.count("MPlayerChance play"), 1);
  EXPECT_EQ(rig.sounds.count("MPlayerHit stop"), 2);  // by the stop of play, and again here
  EXPECT_EQ(h.timerState(TimerId::TimerChance).interval(), 250);
  at(t0, 2100);
  EXPECT_EQ(rig.sounds.count("MPlayerChance play"), 9);
  EXPECT_FALSE(rig.lit(E::Im_Miss1) || rig.lit(E::Im_Miss0));
  at(t0, 2349);
  EXPECT_FALSE(inside.vars.ChanceActive);
  at(t0, 2350);  // the outcome
  EXPECT_TRUE(inside.vars.ChanceActive);
  EXPECT_EQ(inside.vars.PointsThrown, 5);
  EXPECT_EQ(inside.vars.PointsRally, 6);
  EXPECT_EQ(inside.vars.ChanceStep, 2);
  EXPECT_TRUE(inside.vars.PlayerActive && inside.vars.SwingReady);
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2C));
  EXPECT_FALSE(rig.lit(E::Im_Wuffel2A));
  EXPECT_TRUE(timerOn(TimerId::TimerGioco) && timerOn(TimerId::TimerBlink));
  EXPECT_FALSE(timerOn(TimerId::TimerChance));
  const std::int32_t r = -inside.vars.BlinkCount;
  EXPECT_GE(r, 0);
  EXPECT_LE(r, 24);
  // The digits blink together, every 800 ms.
  at(t0, 2350 + 800);
  EXPECT_FALSE(rig.lit(E::Im_NumPos4) || rig.lit(E::Im_NumPos2));
  at(t0, 2350 + 1600);
  EXPECT_TRUE(rig.lit(E::Im_NumPos4));
  // The bonus ends after 63 + r blinks, the digits lit.
  const std::int64_t end = t0 + 2350 + 800LL * (63 + r);
  rig.advanceTo(end - 1);
  EXPECT_TRUE(inside.vars.ChanceActive || inside.vars.MissPending);
  if (!inside.vars.MissPending) {
    rig.advanceTo(end);
    EXPECT_FALSE(inside.vars.ChanceActive);
    EXPECT_EQ(inside.vars.PointsThrown, 2);
    EXPECT_FALSE(timerOn(TimerId::TimerBlink));
    for (auto d : kSegmentTables.scoreDigits) EXPECT_TRUE(rig.lit(d));
  }
}

struct ChanceWithLivesLost : Chance, ::testing::WithParamInterface<std::int32_t> {};

TEST_P(ChanceWithLivesLost, TheMarksOfLostLivesBlinkAndTheLivesComeBack) {
  const std::int32_t lives = GetParam();
  const std::int64_t t0 = trigger(lives);
  std::vector<bool> miss1, miss2;
  for (int step = 2; step <= 9; ++step) {
    at(t0, 100 + 250 * (step - 1));
    miss1.push_back(rig.lit(E::Im_Miss1));
    miss2.push_back(rig.lit(E::Im_Miss2));
  }
  const std::vector<bool> blinking{false, true, false, true, false, true, false, true};
  EXPECT_EQ(miss1, blinking);
  EXPECT_EQ(miss2, lives == 1 ? blinking : std::vector<bool>(8, false));
  at(t0, 2350);
  EXPECT_EQ(inside.vars.LivesLeft, 3);
  EXPECT_FALSE(inside.vars.ChanceActive);
  EXPECT_EQ(inside.vars.PointsThrown, 2);
  EXPECT_FALSE(rig.lit(E::Im_Miss0) || rig.lit(E::Im_Miss1) || rig.lit(E::Im_Miss2));
  EXPECT_FALSE(timerOn(TimerId::TimerBlink));
  EXPECT_TRUE(timerOn(TimerId::TimerGioco));
}

INSTANTIATE_TEST_SUITE_P(OneOrTwoLost, ChanceWithLivesLost, ::testing::Values(2, 1));

TEST_F(Chance, AResetBeforeItsFirstStepLocksNoLaterGame) {
  const std::int64_t t0 = trigger(3);
  ASSERT_EQ(inside.vars.ChanceStep, 1);
  rig.advanceTo(t0 + 50);  // the chance's first step comes at 100 ms
  rig.click(E::Puls_ACL);
  rig.click(E::Puls_GameA);
  ASSERT_TRUE(inside.vars.GameRunning);
  // Every later swing runs its racket animation and frees the player again.
  for (int swing = 0; swing < 3; ++swing) {
    h.keyDown(VirtualKey::Ctrl);
    h.keyUp(VirtualKey::Ctrl);
    EXPECT_TRUE(timerOn(TimerId::TimerRacchetta)) << "swing " << swing;
    rig.wait(1000);
    EXPECT_TRUE(inside.vars.PlayerActive && inside.vars.SwingReady) << "swing " << swing;
  }
  h.keyDown(VirtualKey::Up);
  h.keyUp(VirtualKey::Up);
  EXPECT_EQ(inside.vars.PlayerLane, 1);
}

TEST_F(Chance, AMissDuringTheBonusEndsItForGood) {
  const std::int64_t t0 = trigger(3);
  at(t0, 2350 + 800);  // the digits are dark in this blink
  ASSERT_TRUE(inside.vars.ChanceActive);
  ASSERT_FALSE(rig.lit(E::Im_NumPos4));
  // The next ball past the player: put one behind him and let the lane step.
  inside.face.show(E::Im_Ball21);
  for (int ms = 0; ms < 6 * kTick && !timerOn(TimerId::TimerMiss); ++ms) rig.wait(1);
  ASSERT_EQ(inside.vars.MissStep, 1) << "the miss has started";
  EXPECT_FALSE(timerOn(TimerId::TimerBlink));
  for (auto d : kSegmentTables.scoreDigits) EXPECT_TRUE(rig.lit(d));
  EXPECT_TRUE(inside.vars.ChanceActive) << "the raised points hold through the miss";
  EXPECT_EQ(inside.vars.PointsRally, 6);
  rig.wait(5200);
  EXPECT_FALSE(inside.vars.ChanceActive);
  EXPECT_EQ(inside.vars.PointsThrown, 2);
  EXPECT_EQ(inside.vars.PointsRally, 3);
  EXPECT_FALSE(timerOn(TimerId::TimerBlink));
}

TEST_F(Sequence, AChanceTriggeredByTheMissRedrawRunsFirstAndTheMissComesAfter) {
  startGame();
  // The score in the window while no chance is active: a bonus ended there.
  inside.vars.Score = 203;
  at(0, kMissFound);
  const std::int64_t t0 = kMissFound;
  at(t0, 200);  // step 1 redraws the score: the chance stops the miss
  EXPECT_EQ(inside.vars.ChanceStep, 1);
  EXPECT_FALSE(timerOn(TimerId::TimerMiss));
  EXPECT_EQ(inside.vars.MissStep, 2);
  at(t0, 200 + 2350);
  EXPECT_EQ(inside.vars.LivesLeft, 3) << "no life is taken before the chance";
  EXPECT_TRUE(inside.vars.ChanceActive);
  EXPECT_TRUE(inside.vars.MissPending);
  at(t0, 200 + 2350 + kTick);  // the next tick finds the miss still pending
  EXPECT_EQ(inside.vars.MissStep, 1);
  EXPECT_TRUE(timerOn(TimerId::TimerMiss));
  EXPECT_FALSE(timerOn(TimerId::TimerBlink));
  rig.wait(450);
  EXPECT_EQ(inside.vars.LivesLeft, 2);
  EXPECT_EQ(inside.vars.ChanceMark, 500) << "the redraw of 203 does not trigger again";
}

}  // namespace
}  // namespace wuffel
