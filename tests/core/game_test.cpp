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
    rig.handheld->start();
    rig.click(E::Puls_GameA);
  }
  void toTick(int n) { rig.advanceTo(static_cast<std::int64_t>(n) * kTick); }
  int playCount(const std::string& what) const {
    return static_cast<int>(std::count(rig.ports.sounds.begin(), rig.ports.sounds.end(), what));
  }
  Rig rig;
  Handheld& h = *rig.handheld;
};

TEST_F(Play, TheFirstBallOfAGameInLaneTwoTickByTick) {
  EXPECT_TRUE(h.vars.GameRunning);
  EXPECT_EQ(h.timer(TimerId::TimerPrimaPalla).interval(), 60 * 220);
  toTick(1);
  EXPECT_EQ(h.vars.ThrowLane, 2);
  EXPECT_EQ(h.vars.ThrowState, 1);
  EXPECT_TRUE(rig.lit(E::Im_Tobbel3));
  toTick(3);
  EXPECT_FALSE(rig.lit(E::Im_Tobbel3));
  EXPECT_TRUE(rig.lit(E::Im_Ball27));
  EXPECT_EQ(h.vars.ThrowState, 2);
  EXPECT_EQ(playCount("MPlayerBall play"), 1);
  toTick(8);
  EXPECT_TRUE(rig.lit(E::Im_Ball27));
  toTick(9);
  EXPECT_FALSE(rig.lit(E::Im_Ball27) || rig.lit(E::Im_Tobbel2));
  EXPECT_TRUE(rig.lit(E::Im_Tobbel4) && rig.lit(E::Im_Tobbel5) && rig.lit(E::Im_Tobbel6));
  EXPECT_TRUE(rig.lit(E::Im_Ball26));
  EXPECT_EQ(playCount("MPlayerBack play"), 1);
  toTick(11);
  EXPECT_EQ(h.vars.ThrowState, 4);
  EXPECT_TRUE(rig.lit(E::Im_Tobbel4));
  toTick(13);
  EXPECT_FALSE(rig.lit(E::Im_Tobbel4));
  EXPECT_TRUE(rig.lit(E::Im_Tobbel2) && rig.lit(E::Im_Tobbel3));
  EXPECT_EQ(h.vars.ThrowLane, 0);
  const std::array<std::pair<int, E>, 5> path{
      {{15, E::Im_Ball25}, {21, E::Im_Ball24}, {27, E::Im_Ball23}, {33, E::Im_Ball22}, {39, E::Im_Ball21}}};
  for (const auto& [tick, cell] : path) {
    toTick(tick);
    EXPECT_TRUE(rig.lit(cell)) << tick;
    EXPECT_EQ(h.vars.ThrowLane, 0) << "no new throw while the first ball is in play";
  }
  EXPECT_EQ(playCount("MPlayerBall play"), 6);
  toTick(44);
  EXPECT_FALSE(h.vars.MissPending);
  toTick(45);
  EXPECT_TRUE(rig.lit(E::Im_Ball20));
  EXPECT_TRUE(h.vars.MissPending);
  EXPECT_FALSE(h.timer(TimerId::TimerGioco).enabled());
  EXPECT_FALSE(h.timer(TimerId::TimerPrimaPalla).enabled());
  EXPECT_TRUE(h.timer(TimerId::TimerMiss).enabled());
  EXPECT_EQ(h.timer(TimerId::TimerMiss).interval(), 200);
  EXPECT_FALSE(h.vars.PlayerActive || h.vars.SwingReady);
  EXPECT_EQ(h.vars.MissStep, 1);
  EXPECT_EQ(rig.ports.sounds.back(), "MPlayerMiss play");
  EXPECT_EQ(playCount("MPlayerBall play"), 6);  // the miss tick plays no ball sound
}

TEST_F(Play, ASwingAtTheRacketCellHitsTheBallOntoTheRallyTrack) {
  toTick(39);
  ASSERT_TRUE(rig.lit(E::Im_Ball21));
  h.keyDown(kKeyCtrl);
  EXPECT_FALSE(rig.lit(E::Puls_Hit));
  EXPECT_FALSE(rig.lit(E::Im_Ball21));
  EXPECT_TRUE(rig.lit(E::Im_Ball55));
  EXPECT_TRUE(h.tables.rally(2, 4).outgoing);
  EXPECT_EQ(h.vars.Score, 2);
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2A));
  EXPECT_EQ(rig.ports.sounds.back(), "MPlayerHit play");
  // Held Ctrl: auto-repeat swings no more.
  h.keyDown(kKeyCtrl);
  EXPECT_EQ(h.vars.Score, 2);
  // The racket: A at once, B after 380 ms, C after 760 ms, ready again.
  rig.wait(380);
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2B));
  EXPECT_FALSE(h.vars.SwingReady);
  rig.wait(380);
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2C));
  EXPECT_FALSE(rig.lit(E::Im_Wuffel2B));
  EXPECT_TRUE(h.vars.PlayerActive && h.vars.SwingReady);
  EXPECT_FALSE(h.timer(TimerId::TimerRacchetta).enabled());
  h.keyUp(kKeyCtrl);
  EXPECT_TRUE(rig.lit(E::Puls_Hit));
  EXPECT_FALSE(h.vars.KeyLatch);
}

TEST_F(Play, AnEmptySwingFreezesThePlayerFor760Ms) {
  toTick(2);
  h.keyDown(kKeyCtrl);
  h.keyUp(kKeyCtrl);
  EXPECT_FALSE(h.vars.PlayerActive);
  h.keyDown(kKeyUp);
  EXPECT_EQ(h.vars.PlayerLane, 2);
  h.keyUp(kKeyUp);
  rig.wait(759);
  EXPECT_FALSE(h.vars.PlayerActive);
  rig.wait(1);
  EXPECT_TRUE(h.vars.PlayerActive && h.vars.SwingReady);
  h.keyDown(kKeyUp);
  EXPECT_EQ(h.vars.PlayerLane, 1);
  EXPECT_TRUE(rig.lit(E::Im_Wuffel1) && rig.lit(E::Im_Wuffel1C));
  EXPECT_FALSE(rig.lit(E::Im_Wuffel2));
  h.keyDown(kKeyUp);  // repeat while held: latched
  h.keyDown(kKeyDown);
  EXPECT_EQ(h.vars.PlayerLane, 1);
  h.keyUp(65);  // releasing any key clears the latch
  h.keyDown(kKeyUp);  // lane 1 is the top: only the picture
  EXPECT_EQ(h.vars.PlayerLane, 1);
  EXPECT_FALSE(h.vars.KeyLatch);
  EXPECT_FALSE(rig.lit(E::Puls_Up));
}

TEST_F(Play, ALaneChangeReadiesASwingAndBothRacketCellsCountAsAReturn) {
  toTick(39);
  h.keyDown(kKeyCtrl);
  h.keyUp(kKeyCtrl);
  EXPECT_FALSE(h.vars.SwingReady);
  h.keyDown(kKeyUp);
  h.keyUp(kKeyUp);
  h.keyDown(kKeyDown);
  h.keyUp(kKeyDown);
  EXPECT_TRUE(h.vars.SwingReady);
  // The ball just hit still stands in rally cell 4; put a thrown ball beside it.
  h.face.show(E::Im_Ball21);
  h.keyDown(kKeyCtrl);
  EXPECT_EQ(h.vars.Score, 2 + 3);
  EXPECT_FALSE(rig.lit(E::Im_Ball21));
  EXPECT_TRUE(h.tables.rally(2, 4).outgoing);
}

TEST_F(Play, ARallyBallTravelsOutIsReturnedAndComesBack) {
  // The opponent's decision draws below 7 from the seed of the tick's time.
  auto drawAt = [](std::int64_t ms) {
    const std::uint32_t s = static_cast<std::uint32_t>(ms) * 134775813u + 1u;
    return static_cast<int>((static_cast<std::uint64_t>(s) * 7) >> 32);
  };
  toTick(39);
  h.keyDown(kKeyCtrl);
  h.keyUp(kKeyCtrl);
  // Lane 2 steps in phases 3 and 6; tick 39 was phase 3, so the next steps
  // come at ticks 42, 45, 48, ...
  toTick(42);
  EXPECT_TRUE(rig.lit(E::Im_Ball54));
  EXPECT_FALSE(rig.lit(E::Im_Ball55));
  // Choose the clock so that the decision at tick 45 swings.
  std::int64_t offset = 0;
  while (drawAt(45 * kTick + offset) >= 3) ++offset;
  rig.ports.utcAtZero = offset;
  toTick(45);
  EXPECT_TRUE(rig.lit(E::Im_Ball53));
  EXPECT_EQ(h.tables.swing(2), 2);
  EXPECT_TRUE(rig.lit(E::Im_Brunna));
  toTick(48);
  EXPECT_TRUE(rig.lit(E::Im_BrunnaBr2));
  EXPECT_FALSE(rig.lit(E::Im_BrunnaBr1) || rig.lit(E::Im_BrunnaBr3));
  toTick(51);
  EXPECT_TRUE(rig.lit(E::Im_Ball51));
  EXPECT_TRUE(h.tables.rally(2, 0).incoming);
  EXPECT_FALSE(h.tables.rally(2, 0).outgoing);
  EXPECT_EQ(rig.ports.sounds.back(), "MPlayerBack play");
  toTick(57);
  EXPECT_EQ(h.tables.swing(2), 0);
  EXPECT_FALSE(rig.lit(E::Im_Brunna) || rig.lit(E::Im_BrunnaBr2));
  toTick(63);
  EXPECT_TRUE(rig.lit(E::Im_Ball55));  // at the racket: twelve ticks after the return
  h.keyDown(kKeyCtrl);
  EXPECT_EQ(h.vars.Score, 2 + 3);
  EXPECT_TRUE(h.tables.rally(2, 4).outgoing);
  EXPECT_FALSE(h.tables.rally(2, 4).incoming);
}

TEST(Rally, TwoBallsMeetInOneCellAndPartAgainAndAnUnreturnedBallIsAMiss) {
  Rig rig;
  auto& h = *rig.handheld;
  h.start();
  h.SvuotaSchermo();
  h.tables.rally(1, 1).incoming = true;
  h.tables.rally(1, 3).outgoing = true;
  h.MuoviBall2(1);
  EXPECT_TRUE(h.tables.rally(1, 2).incoming && h.tables.rally(1, 2).outgoing);
  EXPECT_TRUE(rig.lit(E::Im_Ball63));
  h.MuoviBall2(1);
  EXPECT_TRUE(rig.lit(E::Im_Ball64) && rig.lit(E::Im_Ball62));
  EXPECT_FALSE(rig.lit(E::Im_Ball63));
  h.face.show(E::Im_Ball11);
  h.MuoviBall2(1);  // incoming now in cell 4
  EXPECT_FALSE(h.vars.MissPending);
  h.MuoviBall2(1);  // cell 5: passed the player
  EXPECT_TRUE(rig.lit(E::Im_Ball66));
  EXPECT_FALSE(rig.lit(E::Im_Ball11));
  EXPECT_TRUE(h.vars.MissPending);
}

TEST(Rally, OverlappingSwingsKeepTheBodyUntilTheLastEnds) {
  Rig rig;
  auto& h = *rig.handheld;
  h.start();
  h.SvuotaSchermo();
  h.tables.swing(1) = 3;
  h.tables.swing(3) = 2;
  h.ProcBrunna(3);  // lane 1 holds 3: lane 3 leaves the rackets alone
  EXPECT_FALSE(rig.lit(E::Im_BrunnaBr3));
  EXPECT_EQ(h.tables.swing(3), 3);
  h.ProcBrunna(1);  // lane 1 returns
  EXPECT_TRUE(rig.lit(E::Im_BrunnaBr1));
  h.ProcBrunna(3);  // lane 3 returns and raises its own racket
  EXPECT_TRUE(rig.lit(E::Im_BrunnaBr3));
  EXPECT_FALSE(rig.lit(E::Im_BrunnaBr1));
  h.face.show(E::Im_Brunna);
  h.ProcBrunna(1);
  h.ProcBrunna(1);  // lane 1 ends while lane 3 still swings
  EXPECT_TRUE(rig.lit(E::Im_Brunna));
  h.ProcBrunna(3);
  h.ProcBrunna(3);
  EXPECT_FALSE(rig.lit(E::Im_Brunna) || rig.lit(E::Im_BrunnaBr3));
}

TEST(Buttons, ResetStopsEverythingAndItsReleaseLightsTheFace) {
  Rig rig(kFirstThrowInLane2);
  auto& h = *rig.handheld;
  h.start();
  rig.click(E::Puls_GameB);
  EXPECT_EQ(h.vars.GameMode, 2);
  EXPECT_TRUE(rig.lit(E::Im_GameB));
  EXPECT_FALSE(rig.lit(E::Im_GameA));
  rig.advanceTo(2000);
  const auto& acl = elementInfo(E::Puls_ACL);
  h.mousePress(acl.left + 2, acl.top + 2, MouseButton::Middle);
  EXPECT_FALSE(h.vars.GameRunning || h.vars.PlayerActive);
  EXPECT_FALSE(h.timer(TimerId::TimerGioco).enabled());
  EXPECT_FALSE(rig.lit(E::Im_Miss0));  // frozen until the release
  h.mouseRelease(acl.left + 2, acl.top + 2, MouseButton::Middle);
  EXPECT_EQ(h.vars.GameMode, 3);
  EXPECT_TRUE(rig.lit(E::Im_Miss0));
  EXPECT_EQ(std::count(rig.ports.sounds.begin(), rig.ports.sounds.end(), "MPlayerChance stop"), 0);
}

TEST(Buttons, WhileAGameRunsTheGameButtonsOnlyShowThePress) {
  Rig rig(kFirstThrowInLane2);
  auto& h = *rig.handheld;
  h.start();
  rig.click(E::Puls_GameA);
  rig.advanceTo(1000);
  const auto& b = elementInfo(E::Puls_GameB);
  h.mousePress(b.left + 1, b.top + 1, MouseButton::Left);
  EXPECT_FALSE(rig.lit(E::Puls_GameB));
  h.mouseRelease(b.left + 1, b.top + 1, MouseButton::Left);
  EXPECT_TRUE(rig.lit(E::Puls_GameB));
  EXPECT_EQ(h.vars.GameMode, 1);
  EXPECT_FALSE(rig.lit(E::Im_GameB));
}

TEST(Buttons, OnlyTheReleaseOfAPressThatShowedTheBestScoreStartsAGame) {
  Rig rig(kFirstThrowInLane2);
  auto& h = *rig.handheld;
  h.start();
  // A right-button press elsewhere released over "Game A": the face stays lit.
  const auto& a = elementInfo(E::Puls_GameA);
  h.mousePress(100, 100, MouseButton::Right);
  h.mouseRelease(a.left + 1, a.top + 1, MouseButton::Right);
  EXPECT_FALSE(h.vars.GameRunning);
  EXPECT_EQ(h.vars.GameMode, 3);

  // A press during the last miss, released once the game is over.
  rig.click(E::Puls_GameA);
  h.vars.LivesLeft = 1;
  rig.advanceTo(45 * kTick + 5000);
  h.mousePress(a.left + 1, a.top + 1, MouseButton::Left);
  rig.advanceTo(45 * kTick + 7000);
  ASSERT_FALSE(h.vars.GameRunning);
  h.mouseRelease(a.left + 1, a.top + 1, MouseButton::Left);
  EXPECT_FALSE(h.vars.GameRunning);
  EXPECT_TRUE(rig.lit(E::Puls_GameA));
  EXPECT_TRUE(rig.lit(E::Im_CrashSleep));
  EXPECT_TRUE(h.timer(TimerId::TimerZZZ).enabled());
  // The next click starts the game as always.
  rig.click(E::Puls_GameA);
  EXPECT_TRUE(h.vars.GameRunning);
  EXPECT_FALSE(h.timer(TimerId::TimerZZZ).enabled() || rig.lit(E::Im_CrashSleep));
  EXPECT_TRUE(rig.lit(E::Im_Wuffel2));
}

TEST(Buttons, AGameButtonPressReleasedElsewhereIsForgottenByTheNextButton) {
  for (const E other : {E::Puls_Time, E::Puls_ACL}) {
    Rig rig(kFirstThrowInLane2);
    auto& h = *rig.handheld;
    h.start();
    const auto& a = elementInfo(E::Puls_GameA);
    h.mousePress(a.left + 1, a.top + 1, MouseButton::Right);
    h.mouseRelease(5, 5, MouseButton::Right);
    rig.click(other);
    const int modeBefore = h.vars.GameMode;
    // A right press on the face released over "Game A" starts nothing.
    h.mousePress(300, 60, MouseButton::Right);
    h.mouseRelease(a.left + 1, a.top + 1, MouseButton::Right);
    EXPECT_FALSE(h.vars.GameRunning) << elementInfo(other).name;
    EXPECT_EQ(h.vars.GameMode, modeBefore) << elementInfo(other).name;
  }
}

}  // namespace
}  // namespace wuffel
