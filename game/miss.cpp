// The miss sequence: the balls cleared, a life lost, the player crashed and
// asleep; then play again, or the game over with the best score kept and
// the sleep animation.
#include "game/handheld.h"
#include "game/rules.h"

namespace wuffel {

namespace {
using E = ElementId;
constexpr std::array<E, 3> kSleepZs{E::Im_CrashZ1, E::Im_CrashZ2, E::Im_CrashZ3};

// TimerMiss's interval, from the stop of play to step 1 and then as the
// steps set it.
constexpr int kUntilBallsClearedMs = 200;
constexpr int kUntilLifeLostMs = 250;
constexpr int kUntilCrashMs = 750;
constexpr int kCrashMs = 450;
constexpr int kSleepStepMs = 350;
constexpr int kUntilPlayResumesMs = 500;
constexpr int kGameOverSoundMs = 1200;

// The sleep animation after a game over: its first Z at once, then a step
// every so often.
constexpr int kZzzFirstStepMs = 1;
constexpr int kZzzStepMs = 400;

// How long the miss sound may run, by the lives left after the miss: the
// nearer the game's end, the shorter.
constexpr int kMissSoundWithTwoLivesLeftMs = 1300;
constexpr int kMissSoundWithOneLifeLeftMs = 950;
constexpr int kMissSoundAtGameOverMs = 850;

int missSoundCutAfter(std::int32_t livesLeft) {
  switch (livesLeft) {
    case 2: return kMissSoundWithTwoLivesLeftMs;
    case 1: return kMissSoundWithOneLifeLeftMs;
    default: return kMissSoundAtGameOverMs;
  }
}
}  // namespace

void Handheld::startMiss() {
  BloccaTimers();
  BloccaMPlayers();
  for (auto d : tables.scoreDigits) face.show(d);
  vars.PlayerActive = false;
  vars.SwingReady = false;
  channel(ChannelId::MPlayerMiss).play();
  vars.MissStep = 1;
  timer(TimerId::TimerMiss).setInterval(kUntilBallsClearedMs);
  timer(TimerId::TimerMiss).setEnabled(true);
}

void Handheld::TimerMissTimer() {
  // A step that fails (a refused write of the best score) is not counted,
  // so it runs again at the next tick.
  missStep(vars.MissStep);
  ++vars.MissStep;
}

void Handheld::missStep(int step) {
  IntervalTimer& miss = timer(TimerId::TimerMiss);
  switch (step) {
    case 1:
      TrasformaScore(vars.Score);
      face.hide(E::Im_Tobbel3);
      for (int lane = 1; lane <= kLanes; ++lane) {
        for (int c = 1; c <= launchCell(lane); ++c) face.hide(tables.throwCell(lane, c));
        for (int c = 0; c < kBehindRallyCell; ++c) face.hide(tables.rallyCell(lane, c));
      }
      for (auto p : tables.opponentParts) face.hide(p);
      miss.setInterval(kUntilLifeLostMs);
      break;
    case 2:
      for (int lane = 1; lane <= kLanes; ++lane) {
        face.hide(tables.throwCell(lane, 0));
        face.hide(tables.rallyCell(lane, kBehindRallyCell));
      }
      miss.setInterval(kUntilCrashMs);
      --vars.LivesLeft;
      timer(TimerId::TimerMPlayerMiss).setInterval(missSoundCutAfter(vars.LivesLeft));
      timer(TimerId::TimerMPlayerMiss).setEnabled(true);
      tell(&GameEvents::lifeLost, vars.LivesLeft);
      break;
    case 3:
      face.show(E::Im_Crash);
      miss.setInterval(kCrashMs);
      break;
    case 4:
      NascondiWuffel();
      face.show(E::Im_CrashSleep);
      MostraVite();
      break;
    case 5:
      face.show(E::Im_CrashZ1);
      miss.setInterval(kSleepStepMs);
      break;
    case 6:
      face.show(E::Im_CrashZ2);
      face.hide(E::Im_Crash);
      face.show(E::Im_Tobbel2A);
      for (auto t : tables.throwerImages) face.hide(t);
      break;
    case 7:
      face.show(E::Im_CrashZ3);
      break;
    case 8:
      for (auto z : kSleepZs) face.hide(z);
      break;
    case 9:
      face.show(E::Im_CrashZ1);
      face.hide(E::Im_Tobbel2A);
      face.show(E::Im_Tobbel2B);
      break;
    case 10:
      face.show(E::Im_CrashZ2);
      break;
    case 11:
      face.show(E::Im_CrashZ3);
      miss.setInterval(kUntilPlayResumesMs);
      break;
    case 12:
      break;
    case 13:
      if (vars.LivesLeft > 0) {
        PreparaSchermo();
        vars.PlayerActive = true;
        vars.SwingReady = true;
        vars.TickPhase = 1;
        vars.ThrowLane = 0;
        vars.MissPending = false;
        miss.setEnabled(false);
        timer(TimerId::TimerGioco).setEnabled(true);
      } else {
        for (auto z : kSleepZs) face.hide(z);
        channel(ChannelId::MPlayerOver).play();
        miss.setInterval(kGameOverSoundMs);
      }
      break;
    case 14: {
      const bool newBest = gameOverScore();
      vars.ZzzStep = 1;
      timer(TimerId::TimerZZZ).setInterval(kZzzFirstStepMs);
      timer(TimerId::TimerZZZ).setEnabled(true);
      vars.GameRunning = false;
      miss.setEnabled(false);
      tell(&GameEvents::gameOver, vars.Score, newBest);
      break;
    }
    default:
      break;
  }
}

// Another running copy of the program may have stored a higher best since
// this one read it: the store keeps the higher of the two. True when the
// score beat the game's best (a slower or assisted game's own best for such
// a game).
bool Handheld::gameOverScore() {
  if (gameAids_.any()) return raiseAidedBest(vars.GameMode, gameAids_, vars.Score);
  if (vars.GameMode == GameModeValue::GameA && vars.Score > vars.HiScoreA) {
    vars.HiScoreA = vars.Score;
    hiScoreStore_->raiseInteger(kHiScoreAWriteName, vars.HiScoreA);
    return true;
  }
  if (vars.GameMode == GameModeValue::GameB && vars.Score > vars.HiScoreB) {
    vars.HiScoreB = vars.Score;
    hiScoreStore_->raiseInteger(kHiScoreBWriteName, vars.HiScoreB);
    return true;
  }
  return false;
}

void Handheld::TimerMPlayerMissTimer() {
  channel(ChannelId::MPlayerMiss).stop();
  channel(ChannelId::MPlayerMiss).rewind();
  timer(TimerId::TimerMPlayerMiss).setEnabled(false);
}

void Handheld::TimerZZZTimer() {
  timer(TimerId::TimerZZZ).setInterval(kZzzStepMs);
  if (vars.ZzzStep >= 1 && vars.ZzzStep <= 3)
    face.show(kSleepZs[static_cast<std::size_t>(vars.ZzzStep - 1)]);
  else if (vars.ZzzStep == 4)
    for (auto z : kSleepZs) face.hide(z);
  if (++vars.ZzzStep == 5) vars.ZzzStep = 1;
}

}  // namespace wuffel
