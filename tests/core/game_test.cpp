#include <gtest/gtest.h>

#include <algorithm>

#include "rig.h"

namespace wuffel {
namespace {

using E = ElementId;
using testing::kFirstThrowInLane2;
using testing::kTick;
using testing::Rig;

struct Play : ::testing::Test {
  explicit Play(std::int64_t utc = kFirstThrowInLane2) : rig(utc) {
    rig.handheld.start();
    rig.click(E::Puls_GameA);
  }
  void toTick(int n) { rig.advanceTo(static_cast<std::int64_t>(n) * kTick); }
  Rig rig;
  Handheld& h = rig.handheld;
  HandheldTestAccess& inside = rig.inside;
};

TEST_F(Play, TheFirstBallOfAGameInLaneTwoTickByTick) {
  EXPECT_TRUE(inside.vars.GameRunning);
  EXPECT_EQ(h.timerState(TimerId::TimerPrimaPalla).interval(), 60 * 220);
  toTick(1);
  EXPECT_EQ(inside.vars.ThrowLane, 2);
  EXPECT_EQ(inside.vars.ThrowState, 1);
  EXPECT_TRUE(rig.lit(E::Im_Tobbel3));
  toTick(3);
  EXPECT_FALSE(rig.lit(E::Im_Tobbel3));
  EXPECT_TRUE(rig.lit(E::Im_Ball27));
  EXPECT_EQ(inside.vars.ThrowState, 2);
  EXPECT_EQ(rig.sounds.count("MPlayerBall play"), 1);
  toTick(8);
  EXPECT_TRUE(rig.lit(E::Im_Ball27));
  toTick(9);
  EXPECT_FALSE(rig.lit(E::Im_Ball27) || rig.lit(E::Im_Tobbel2));
  EXPECT_TRUE(rig.lit(E::Im_Tobbel4) && rig.lit(E::Im_Tobbel5) && rig.lit(E::Im_Tobbel6));
  EXPECT_TRUE(rig.lit(E::Im_Ball26));
  EXPECT_EQ(rig.sounds.count("MPlayerBack play"), 1);
  toTick(11);
  EXPECT_EQ(inside.vars.ThrowState, 4);
  EXPECT_TRUE(rig.lit(E::Im_Tobbel4));
  toTick(13);
  EXPECT_FALSE(rig.lit(E::Im_Tobbel4));
  EXPECT_TRUE(rig.lit(E::Im_Tobbel2) && rig.lit(E::Im_Tobbel3));
  EXPECT_EQ(inside.vars.ThrowLane, 0);
  const std::array<std::pair<int, E>, 5> path{
      {{15, E::Im_Ball25}, {21, E::Im_Ball24}, {27, E::Im_Ball23}, {33, E::Im_Ball22}, {39, E::Im_Ball21}}};
  for (const auto& [tick, cell] : path) {
    toTick(tick);
    EXPECT_TRUE(rig.lit(cell)) << tick;
    EXPECT_EQ(inside.vars.ThrowLane, 0) << "no new throw while the first ball is in play";
  }
  EXPECT_EQ(rig.sounds.count("MPlayerBall play"), 6);
  toTick(44);
  EXPECT_FALSE(inside.vars.MissPending);
  toTick(45);
  EXPECT_TRUE(rig.lit(E::Im_Ball20));
  EXPECT_TRUE(inside.vars.MissPending);
  EXPECT_FALSE(h.timerState(TimerId::TimerGioco).enabled());
  EXPECT_FALSE(h.timerState(TimerId::TimerPrimaPalla).enabled());
  EXPECT_TRUE(h.timerState(TimerId::TimerMiss).enabled());
  EXPECT_EQ(h.timerState(TimerId::TimerMiss).interval(), 200);
  EXPECT_FALSE(inside.vars.PlayerActive || inside.vars.SwingReady);
  EXPECT_EQ(inside.vars.MissStep, 1);
  EXPECT_EQ(rig.sounds.all.back(), "MPlayerMiss play");
  EXPECT_EQ(rig.sounds.count("MPlayerBall play"), 6);  // the miss tick plays no ball sound
}

TEST_F(Play, ASwingAtTheRacketCellHitsTheBallOntoTheRallyTrack) {
  toTick(39);
  ASSERT_TRUE(rig.lit(E::Im_Ball21));
  h.keyDown(VirtualKey::Ctrl);
  EXPECT_FALSE(rig.lit(E::Puls_Hit));
  EXPECT_FALSE(rig.lit(E::Im_Ball21));
  EXPECT_TRUE(rig.lit(E::Im_Ball55));
  EXPECT_TRUE(inside.rally.cell(2, 4).outgoing);
  EXPECT_EQ(inside.vars.Score, 2);
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2A));
  EXPECT_EQ(rig.sounds.all.back(), "MPlayerHit play");
  // Held Ctrl: auto-repeat swings no more.
  h.keyDown(VirtualKey::Ctrl);
  EXPECT_EQ(inside.vars.Score, 2);
  // The racket: A at once, B after 380 ms, C after 760 ms, ready again.
  rig.wait(380);
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2B));
  EXPECT_FALSE(inside.vars.SwingReady);
  rig.wait(380);
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2C));
  EXPECT_FALSE(rig.lit(E::Im_Wuffel2B));
  EXPECT_TRUE(inside.vars.PlayerActive && inside.vars.SwingReady);
  EXPECT_FALSE(h.timerState(TimerId::TimerRacchetta).enabled());
  h.keyUp(VirtualKey::Ctrl);
  EXPECT_TRUE(rig.lit(E::Puls_Hit));
  EXPECT_FALSE(inside.vars.KeyLatch);
}

TEST_F(Play, AnEmptySwingFreezesThePlayerFor760Ms) {
  toTick(2);
  h.keyDown(VirtualKey::Ctrl);
  h.keyUp(VirtualKey::Ctrl);
  EXPECT_FALSE(inside.vars.PlayerActive);
  h.keyDown(VirtualKey::Up);
  EXPECT_EQ(inside.vars.PlayerLane, 2);
  h.keyUp(VirtualKey::Up);
  rig.wait(759);
  EXPECT_FALSE(inside.vars.PlayerActive);
  rig.wait(1);
  EXPECT_TRUE(inside.vars.PlayerActive && inside.vars.SwingReady);
  h.keyDown(VirtualKey::Up);
  EXPECT_EQ(inside.vars.PlayerLane, 1);
  EXPECT_TRUE(rig.lit(E::Im_Wuffel1) && rig.lit(E::Im_Wuffel1C));
  EXPECT_FALSE(rig.lit(E::Im_Wuffel2));
  h.keyDown(VirtualKey::Up);  // repeat while held: latched
  h.keyDown(VirtualKey::Down);
  EXPECT_EQ(inside.vars.PlayerLane, 1);
  h.keyUp(static_cast<VirtualKey>(65));  // releasing any key clears the latch
  h.keyDown(VirtualKey::Up);  // lane 1 is the top: only the picture
  EXPECT_EQ(inside.vars.PlayerLane, 1);
  EXPECT_FALSE(inside.vars.KeyLatch);
  EXPECT_FALSE(rig.lit(E::Puls_Up));
}

TEST_F(Play, ALaneChangeReadiesASwingAndBothRacketCellsCountAsAReturn) {
  toTick(39);
  h.keyDown(VirtualKey::Ctrl);
  h.keyUp(VirtualKey::Ctrl);
  EXPECT_FALSE(inside.vars.SwingReady);
  h.keyDown(VirtualKey::Up);
  h.keyUp(VirtualKey::Up);
  h.keyDown(VirtualKey::Down);
  h.keyUp(VirtualKey::Down);
  EXPECT_TRUE(inside.vars.SwingReady);
  // The ball just hit still stands in rally cell 4; put a thrown ball beside it.
  inside.face.show(E::Im_Ball21);
  h.keyDown(VirtualKey::Ctrl);
  EXPECT_EQ(inside.vars.Score, 2 + 3);
  EXPECT_FALSE(rig.lit(E::Im_Ball21));
  EXPECT_TRUE(inside.rally.cell(2, 4).outgoing);
}

TEST_F(Play, ARallyBallTravelsOutIsReturnedAndComesBack) {
  // The opponent's decision draws below 7 from the seed of the tick's time.
  auto drawAt = [](std::int64_t ms) {
    RandomDraws draws;
    draws.reseed(static_cast<std::uint32_t>(ms));
    return draws.below(7);
  };
  toTick(39);
  h.keyDown(VirtualKey::Ctrl);
  h.keyUp(VirtualKey::Ctrl);
  // Lane 2 steps in phases 3 and 6; tick 39 was phase 3, so the next steps
  // come at ticks 42, 45, 48, ...
  toTick(42);
  EXPECT_TRUE(rig.lit(E::Im_Ball54));
  EXPECT_FALSE(rig.lit(E::Im_Ball55));
  // Choose the clock so that the decision at tick 45 swings.
  std::int64_t offset = 0;
  while (drawAt(45 * kTick + offset) >= 3) ++offset;
  rig.timeOfDay().setUtcAtZero(offset);
  toTick(45);
  EXPECT_TRUE(rig.lit(E::Im_Ball53));
  EXPECT_EQ(inside.rally.swing(2), 2);
  EXPECT_TRUE(rig.lit(E::Im_Brunna));
  toTick(48);
  EXPECT_TRUE(rig.lit(E::Im_BrunnaBr2));
  EXPECT_FALSE(rig.lit(E::Im_BrunnaBr1) || rig.lit(E::Im_BrunnaBr3));
  toTick(51);
  EXPECT_TRUE(rig.lit(E::Im_Ball51));
  EXPECT_TRUE(inside.rally.cell(2, 0).incoming);
  EXPECT_FALSE(inside.rally.cell(2, 0).outgoing);
  EXPECT_EQ(rig.sounds.all.back(), "MPlayerBack play");
  toTick(57);
  EXPECT_EQ(inside.rally.swing(2), 0);
  EXPECT_FALSE(rig.lit(E::Im_Brunna) || rig.lit(E::Im_BrunnaBr2));
  toTick(63);
  EXPECT_TRUE(rig.lit(E::Im_Ball55));  // at the racket: twelve ticks after the return
  h.keyDown(VirtualKey::Ctrl);
  EXPECT_EQ(inside.vars.Score, 2 + 3);
  EXPECT_TRUE(inside.rally.cell(2, 4).outgoing);
  EXPECT_FALSE(inside.rally.cell(2, 4).incoming);
}

// Each lane's throw track carries a ball from its first cell in flight down
// to the racket cell and behind the player, where it is a miss.
TEST(ThrowTrack, EveryLaneCarriesABallToTheRacketAndPastThePlayer) {
  Rig rig;
  auto& inside = rig.inside;
  rig.handheld.start();
  for (int lane = 1; lane <= kLanes; ++lane) {
    inside.SvuotaSchermo();
    inside.vars.MissPending = false;
    inside.face.show(kSegmentTables.throwCell(lane, firstFlightCell(lane)));
    for (int cell = firstFlightCell(lane) - 1; cell >= 0; --cell) {
      EXPECT_FALSE(inside.vars.MissPending) << lane;
      inside.MuoviBall1(lane);
      for (int c = 0; c <= launchCell(lane); ++c)
        EXPECT_EQ(rig.lit(kSegmentTables.throwCell(lane, c)), c == cell) << "lane " << lane << ", cell " << c;
    }
    EXPECT_TRUE(inside.vars.MissPending) << lane;
  }
}

TEST(Rally, TwoBallsMeetInOneCellAndPartAgainAndAnUnreturnedBallIsAMiss) {
  Rig rig;
  auto& h = rig.handheld;
  auto& inside = rig.inside;
  h.start();
  inside.SvuotaSchermo();
  inside.rally.cell(1, 1).incoming = true;
  inside.rally.cell(1, 3).outgoing = true;
  inside.MuoviBall2(1);
  EXPECT_TRUE(inside.rally.cell(1, 2).incoming && inside.rally.cell(1, 2).outgoing);
  EXPECT_TRUE(rig.lit(E::Im_Ball63));
  inside.MuoviBall2(1);
  EXPECT_TRUE(rig.lit(E::Im_Ball64) && rig.lit(E::Im_Ball62));
  EXPECT_FALSE(rig.lit(E::Im_Ball63));
  inside.face.show(E::Im_Ball11);
  inside.MuoviBall2(1);  // incoming now in cell 4
  EXPECT_FALSE(inside.vars.MissPending);
  inside.MuoviBall2(1);  // cell 5: passed the player
  EXPECT_TRUE(rig.lit(E::Im_Ball66));
  EXPECT_FALSE(rig.lit(E::Im_Ball11));
  EXPECT_TRUE(inside.vars.MissPending);
}

TEST(Rally, OverlappingSwingsKeepTheBodyUntilTheLastEnds) {
  Rig rig;
  auto& h = rig.handheld;
  auto& inside = rig.inside;
  h.start();
  inside.SvuotaSchermo();
  inside.rally.swing(1) = 3;
  inside.rally.swing(3) = 2;
  inside.ProcBrunna(3);  // lane 1 holds 3: lane 3 leaves the rackets alone
  EXPECT_FALSE(rig.lit(E::Im_BrunnaBr3));
  EXPECT_EQ(inside.rally.swing(3), 3);
  inside.ProcBrunna(1);  // lane 1 returns
  EXPECT_TRUE(rig.lit(E::Im_BrunnaBr1));
  inside.ProcBrunna(3);  // lane 3 returns and raises its own racket
  EXPECT_TRUE(rig.lit(E::Im_BrunnaBr3));
  EXPECT_FALSE(rig.lit(E::Im_BrunnaBr1));
  inside.face.show(E::Im_Brunna);
  inside.ProcBrunna(1);
  inside.ProcBrunna(1);  // lane 1 ends while lane 3 still swings
  EXPECT_TRUE(rig.lit(E::Im_Brunna));
  inside.ProcBrunna(3);
  inside.ProcBrunna(3);
  EXPECT_FALSE(rig.lit(E::Im_Brunna) || rig.lit(E::Im_BrunnaBr3));
}

TEST(Buttons, ResetStopsEverythingAndItsReleaseLightsTheFace) {
  Rig rig(kFirstThrowInLane2);
  auto& h = rig.handheld;
  auto& inside = rig.inside;
  h.start();
  rig.click(E::Puls_GameB);
  EXPECT_EQ(inside.vars.GameMode, GameModeValue::GameB);
  EXPECT_TRUE(rig.lit(E::Im_GameB));
  EXPECT_FALSE(rig.lit(E::Im_GameA));
  rig.advanceTo(2000);
  const auto& acl = elementInfo(E::Puls_ACL);
  h.mousePress(acl.left + 2, acl.top + 2, MouseButton::Middle);
  EXPECT_FALSE(inside.vars.GameRunning || inside.vars.PlayerActive);
  EXPECT_FALSE(h.timerState(TimerId::TimerGioco).enabled());
  EXPECT_FALSE(rig.lit(E::Im_Miss0));  // frozen until the release
  h.mouseRelease(acl.left + 2, acl.top + 2, MouseButton::Middle);
  EXPECT_EQ(inside.vars.GameMode, GameModeValue::AllLit);
  EXPECT_TRUE(rig.lit(E::Im_Miss0));
  EXPECT_EQ(rig.sounds.count("MPlayerChance stop"), 0);
}

TEST(Buttons, WhileAGameRunsTheGameButtonsOnlyShowThePress) {
  Rig rig(kFirstThrowInLane2);
  auto& h = rig.handheld;
  auto& inside = rig.inside;
  h.start();
  rig.click(E::Puls_GameA);
  rig.advanceTo(1000);
  const auto& b = elementInfo(E::Puls_GameB);
  h.mousePress(b.left + 1, b.top + 1, MouseButton::Left);
  EXPECT_FALSE(rig.lit(E::Puls_GameB));
  h.mouseRelease(b.left + 1, b.top + 1, MouseButton::Left);
  EXPECT_TRUE(rig.lit(E::Puls_GameB));
  EXPECT_EQ(inside.vars.GameMode, GameModeValue::GameA);
  EXPECT_FALSE(rig.lit(E::Im_GameB));
}

TEST(Buttons, OnlyTheReleaseOfAPressThatShowedTheBestScoreStartsAGame) {
  Rig rig(kFirstThrowInLane2);
  auto& h = rig.handheld;
  auto& inside = rig.inside;
  h.start();
  // A right-button press elsewhere released over "Game A": the face stays lit.
  const auto& a = elementInfo(E::Puls_GameA);
  h.mousePress(100, 100, MouseButton::Right);
  h.mouseRelease(a.left + 1, a.top + 1, MouseButton::Right);
  EXPECT_FALSE(inside.vars.GameRunning);
  EXPECT_EQ(inside.vars.GameMode, GameModeValue::AllLit);

  // A press during the last miss, released once the game is over.
  rig.click(E::Puls_GameA);
  inside.vars.LivesLeft = 1;
  rig.advanceTo(45 * kTick + 5000);
  h.mousePress(a.left + 1, a.top + 1, MouseButton::Left);
  rig.advanceTo(45 * kTick + 7000);
  ASSERT_FALSE(inside.vars.GameRunning);
  h.mouseRelease(a.left + 1, a.top + 1, MouseButton::Left);
  EXPECT_FALSE(inside.vars.GameRunning);
  EXPECT_TRUE(rig.lit(E::Puls_GameA));
  EXPECT_TRUE(rig.lit(E::Im_CrashSleep));
  EXPECT_TRUE(h.timerState(TimerId::TimerZZZ).enabled());
  // The next click starts the game as always.
  rig.click(E::Puls_GameA);
  EXPECT_TRUE(inside.vars.GameRunning);
  EXPECT_FALSE(h.timerState(TimerId::TimerZZZ).enabled() || rig.lit(E::Im_CrashSleep));
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2));
}

TEST(Buttons, AGameButtonPressReleasedElsewhereIsForgottenByTheNextButton) {
  for (const E other : {E::Puls_Time, E::Puls_ACL}) {
    Rig rig(kFirstThrowInLane2);
    auto& h = rig.handheld;
    auto& inside = rig.inside;
    h.start();
    const auto& a = elementInfo(E::Puls_GameA);
    h.mousePress(a.left + 1, a.top + 1, MouseButton::Right);
    h.mouseRelease(5, 5, MouseButton::Right);
    rig.click(other);
    const GameModeValue modeBefore = inside.vars.GameMode;
    // A right press on the face released over "Game A" starts nothing.
    h.mousePress(300, 60, MouseButton::Right);
    h.mouseRelease(a.left + 1, a.top + 1, MouseButton::Right);
    EXPECT_FALSE(inside.vars.GameRunning) << elementInfo(other).name;
    EXPECT_EQ(inside.vars.GameMode, modeBefore) << elementInfo(other).name;
  }
}

}  // namespace
}  // namespace wuffel
