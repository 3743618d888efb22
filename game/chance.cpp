// The chance: the chance sound with the marks of lost lives blinking, then
// the lives back, or with none lost the bonus of raised points while the
// score blinks.
#include "game/handheld.h"
#include "game/rules.h"

namespace wuffel {

namespace {
using E = ElementId;
// TimerChance's interval: from the stop of play to the tune, then between steps.
constexpr int kUntilTuneMs = 100;
constexpr int kChanceStepMs = 250;
constexpr int kOutcomeStep = 10;
constexpr int kBonusLengthSpread = 25;  // the bonus lasts 63 plus a draw below this many blinks
constexpr std::int32_t kBonusEndsAtBlink = 63;
constexpr std::int32_t kBonusPointsThrown = 5;
constexpr std::int32_t kBonusPointsRally = 6;
}  // namespace

void Handheld::startChance() {
  vars.PlayerActive = false;
  vars.SwingReady = false;
  BloccaTimers();
  BloccaMPlayers();
  vars.ChanceStep = 1;
  timer(TimerId::TimerChance).setInterval(kUntilTuneMs);
  timer(TimerId::TimerChance).setEnabled(true);
}

void Handheld::TimerChanceTimer() {
  const int step = vars.ChanceStep;
  if (step == 1) {
    channel(ChannelId::MPlayerBall).stop();
    channel(ChannelId::MPlayerHit).stop();
    channel(ChannelId::MPlayerChance).play();
    timer(TimerId::TimerChance).setInterval(kChanceStepMs);
  } else if (step >= 2 && step < kOutcomeStep) {
    channel(ChannelId::MPlayerChance).play();
    if (vars.LivesLeft == 2 || vars.LivesLeft == 1) face.setVisible(E::Im_Miss1, !face.visible(E::Im_Miss1));
    if (vars.LivesLeft == 1) face.setVisible(E::Im_Miss2, !face.visible(E::Im_Miss2));
  } else if (step == kOutcomeStep) {
    chanceOutcome();
  }
  ++vars.ChanceStep;
}

void Handheld::chanceOutcome() {
  const bool bonus = vars.LivesLeft == kLivesPerGame;
  if (bonus) {
    reseed();
    vars.BlinkCount = -drawBelow(kBonusLengthSpread);
    timer(TimerId::TimerBlink).setEnabled(true);
    vars.PointsThrown = kBonusPointsThrown;
    vars.PointsRally = kBonusPointsRally;
    vars.ChanceActive = true;
  } else {
    vars.LivesLeft = kLivesPerGame;
  }
  MostraWuffel();
  MostraVite();
  vars.PlayerActive = true;
  vars.SwingReady = true;
  timer(TimerId::TimerGioco).setEnabled(true);
  vars.ChanceStep = 1;
  timer(TimerId::TimerChance).setEnabled(false);
  tell(&GameEvents::chanceGiven, bonus);
}

void Handheld::TimerBlinkTimer() {
  for (auto d : tables.scoreDigits) face.setVisible(d, !face.visible(d));
  if (++vars.BlinkCount != kBonusEndsAtBlink) return;
  for (auto d : tables.scoreDigits) face.show(d);
  vars.PointsThrown = kPointsThrown;
  vars.PointsRally = kPointsRally;
  vars.ChanceActive = false;
  timer(TimerId::TimerBlink).setEnabled(false);
}

}  // namespace wuffel
