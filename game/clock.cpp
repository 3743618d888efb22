// The clock: "Time" shows the fixed alarm time while held and the local time
// of day after its release, refreshed by TimerClock.
#include "game/handheld.h"

namespace wuffel {

namespace {
using E = ElementId;
constexpr int kClockRefreshMs = 1000;
// The first tick after a release comes at once, so the time replaces the alarm view.
constexpr int kClockFirstTickMs = 1;
}  // namespace

void Handheld::Puls_TimeMouseDown(MouseButton mouse) {
  if (mouse == MouseButton::Left) face.hide(E::Puls_Time);
  // A game button's press released elsewhere is forgotten, so that its
  // release later cannot start a game on the clock face.
  bestScoreShownBy_.reset();
  if (vars.GameRunning) return;
  timer(TimerId::TimerClock).setEnabled(false);
  timer(TimerId::TimerZZZ).setEnabled(false);
  if (vars.GameMode != GameModeValue::Clock) SvuotaSchermo();
  face.show(E::Im_TimePP);
  face.show(E::Im_TimePM);
  face.hide(E::Im_TimeAM);
  face.show(E::Im_Pippet1);
  // The alarm time, 12:00 PM, cannot be set.
  showDigit(0, 1);
  showDigit(1, 2);
  showDigit(2, 0);
  showDigit(3, 0);
}

void Handheld::Puls_TimeMouseUp(MouseButton mouse) {
  if (mouse == MouseButton::Left) face.show(E::Puls_Time);
  if (vars.GameRunning) return;
  face.hide(E::Im_Pippet1);
  vars.GameMode = GameModeValue::Clock;
  timer(TimerId::TimerClock).setInterval(kClockFirstTickMs);
  timer(TimerId::TimerClock).setEnabled(true);
}

void Handheld::TimerClockTimer() {
  const bool justReleased = timer(TimerId::TimerClock).interval() == kClockFirstTickMs;
  timer(TimerId::TimerClock).setInterval(kClockRefreshMs);
  const LocalTime now = ports_.timeOfDay.localTime();
  if (justReleased) tell(&GameEvents::clockShown, now.hour, now.minute);
  int hour = now.hour;
  if (hour <= 11) {
    face.show(E::Im_TimeAM);
    face.hide(E::Im_TimePM);
  } else {
    hour -= 12;
    face.show(E::Im_TimePM);
    face.hide(E::Im_TimeAM);
  }
  // A twelve-hour clock: 0 reads 12, and hours 1 to 9 have no leading zero.
  if (hour == 0) {
    showDigit(0, 1);
    showDigit(1, 2);
  } else if (hour <= 9) {
    face.clearPicture(tables.scoreDigits[0]);
    showDigit(1, hour);
  } else {
    showDigit(0, 1);
    showDigit(1, hour - 10);
  }
  showDigit(2, now.minute / 10);
  showDigit(3, now.minute % 10);
}

void Handheld::showDigit(int position, int digit) {
  face.copyPicture(tables.scoreDigits.at(position), tables.digitGlyphs.at(digit));
}

}  // namespace wuffel
