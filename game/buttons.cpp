// The game buttons: "Game A", "Game B", the "ACL" reset, the start of a game,
// the stop of every game timer and the first-ball period.
#include "game/handheld.h"
#include "game/rules.h"

namespace wuffel {

namespace {
// One throw in this many thrower turns, until the score sets the pace.
constexpr std::int32_t kThrowOddsAtStart = 11;
}  // namespace

void Handheld::gameButtonDown(ElementId button, ElementId label, std::int32_t& hiScore, MouseButton mouse) {
  if (mouse == MouseButton::Left) face.hide(button);
  if (vars.GameRunning) return;
  bestScoreShownBy_ = button;
  timer(TimerId::TimerClock).setEnabled(false);
  timer(TimerId::TimerZZZ).setEnabled(false);
  SvuotaSchermo();
  PreparaSchermo();
  face.hide(ElementId::Im_TimeAM);
  face.hide(ElementId::Im_TimePM);
  face.hide(ElementId::Im_TimePP);
  face.show(label);
  // Played slower or with the assist, the button shows that way's own best.
  if (aidsNow().any()) {
    std::int32_t aidedBest =
        readAidedBest(button == ElementId::Puls_GameB ? GameModeValue::GameB : GameModeValue::GameA, aidsNow());
    showingAidedBest(true);
    return TrasformaScore(aidedBest);
  }
  TrasformaScore(hiScore);
}

void Handheld::gameButtonUp(ElementId button, GameModeValue mode, MouseButton mouse) {
  if (mouse == MouseButton::Left) face.show(button);
  showingAidedBest(false);
  if (vars.GameRunning) return;
  // Only the release of a press that set the face up for play starts a game:
  // a press during the game before (its miss running out into the game
  // over), or a press elsewhere released here, would start play on a face
  // still asleep or fully lit, with the player unseen.
  const bool shownByThisPress = bestScoreShownBy_ == button;
  bestScoreShownBy_.reset();
  if (!shownByThisPress) return;
  vars.GameMode = mode;
  AvviaGioco();
}

void Handheld::Puls_ACLMouseDown() {
  bestScoreShownBy_.reset();
  showingAidedBest(false);
  BloccaTimers();
  BloccaMPlayers();
  forgetCutOffChance();
  timer(TimerId::TimerClock).setEnabled(false);
  vars.PlayerActive = false;
  vars.GameRunning = false;
}

void Handheld::Puls_ACLMouseUp() {
  RiempiSchermo();
  vars.GameMode = GameModeValue::AllLit;
}

void Handheld::AvviaGioco() {
  forgetCutOffChance();
  vars.LivesLeft = kLivesPerGame;
  vars.Score = 0;
  TrasformaScore(vars.Score);
  vars.ChanceMark = kFirstChanceMark;
  vars.PlayerActive = true;
  vars.SwingReady = true;
  vars.KeyLatch = false;
  vars.TickPhase = 1;
  vars.ThrowLane = 0;
  vars.MissPending = false;
  vars.FirstBall = true;
  vars.ThrowOdds = kThrowOddsAtStart;
  vars.GameRunning = true;
  noteAidsOfGame(true);
  // The first-ball period is counted in tick intervals of the pace as it stands now.
  timer(TimerId::TimerPrimaPalla).setInterval(kFirstBallTicksAtStart * timer(TimerId::TimerGioco).interval());
  timer(TimerId::TimerPrimaPalla).setEnabled(true);
  timer(TimerId::TimerGioco).setInterval(kStartingTickMs);
  timer(TimerId::TimerGioco).setEnabled(true);
}

void Handheld::forgetCutOffChance() {
  // A chance triggered but cut off before its first step would leave the
  // swing believing a chance is starting, and every later swing would keep
  // the racket timer stopped: no game could be played until a chance ran.
  // Only a game start and the reset call this, with TimerChance stopped.
  if (vars.ChanceStep == 1) vars.ChanceStep = 0;
}

void Handheld::BloccaTimers() {
  for (auto id : kGameTimers) timer(id).setEnabled(false);
}

void Handheld::BloccaMPlayers() {
  channel(ChannelId::MPlayerBall).stop();
  channel(ChannelId::MPlayerBack).stop();
  channel(ChannelId::MPlayerHit).stop();
  channel(ChannelId::MPlayerMiss).stop();
  channel(ChannelId::MPlayerMiss).rewind();
  channel(ChannelId::MPlayerOver).stop();
  channel(ChannelId::MPlayerOver).rewind();
}

void Handheld::TimerPrimaPallaTimer() {
  vars.FirstBall = false;
  timer(TimerId::TimerPrimaPalla).setEnabled(false);
}

}  // namespace wuffel
