// Screen routines: the lit face, the cleared face, the set-up for play, the
// player at rest, the miss display and the four-digit number display.
#include "game/handheld.h"
#include "game/rules.h"

namespace wuffel {

namespace {
using E = ElementId;
constexpr std::array<E, 4> kBirdsAndLabels{E::Im_Pippet1, E::Im_Pippet2, E::Im_GameA, E::Im_GameB};
constexpr std::array<E, 7> kMissAndSleep{E::Im_Tobbel2A,   E::Im_Tobbel2B, E::Im_Crash,  E::Im_CrashSleep,
                                         E::Im_CrashZ1, E::Im_CrashZ2,  E::Im_CrashZ3};
constexpr std::array<E, 5> kClearedForPlay{E::Im_CrashSleep, E::Im_CrashZ1, E::Im_CrashZ2, E::Im_CrashZ3,
                                           E::Im_Tobbel2B};
constexpr int kRestingThrowerEntries = 3;
// The four digits show no more.
constexpr std::int32_t kHighestScore = 9999;
}  // namespace

void Handheld::RiempiSchermo() {
  for (auto d : tables.scoreDigits) face.show(d);
  face.show(E::Im_TimeAM);
  face.hide(E::Im_TimePM);
  face.show(E::Im_TimePP);
  face.copyPicture(E::Im_NumPos1, E::Im_Num1);
  face.copyPicture(E::Im_NumPos2, E::Im_Num2);
  face.copyPicture(E::Im_NumPos3, E::Im_Num0);
  face.copyPicture(E::Im_NumPos4, E::Im_Num0);
  face.show(E::Im_Miss0);
  for (auto m : tables.missMarks) face.show(m);
  for (auto e : kBirdsAndLabels) face.show(e);
  for (auto e : kMissAndSleep) face.show(e);
  for (int lane = 1; lane <= kLanes; ++lane)
    for (int c = 0; c <= launchCell(lane); ++c) face.show(tables.throwCell(lane, c));
  for (int lane = 1; lane <= kLanes; ++lane)
    for (int c = 0; c < kBehindRallyCell; ++c) face.show(tables.rallyCell(lane, c));
  for (const auto& lane : tables.playerPoses)
    for (auto p : lane) face.show(p);
  for (auto p : tables.opponentParts) face.show(p);
  for (auto t : tables.throwerImages) face.show(t);
}

void Handheld::SvuotaSchermo() {
  face.hide(E::Im_Miss0);
  for (auto m : tables.missMarks) face.hide(m);
  for (auto e : kBirdsAndLabels) face.hide(e);
  for (auto e : kMissAndSleep) face.hide(e);
  for (int lane = 1; lane <= kLanes; ++lane)
    for (int c = 0; c <= launchCell(lane); ++c) face.hide(tables.throwCell(lane, c));
  for (int lane = 1; lane <= kLanes; ++lane)
    for (int c = 0; c < kRallyCells; ++c) face.hide(tables.rallyCell(lane, c));
  for (const auto& lane : tables.playerPoses)
    for (auto p : lane) face.hide(p);
  for (auto p : tables.opponentParts) face.hide(p);
  for (auto t : tables.throwerImages) face.hide(t);
}

void Handheld::PreparaSchermo() {
  for (auto e : kClearedForPlay) face.hide(e);
  for (int lane = 1; lane <= kLanes; ++lane) rally.swing(lane) = 0;
  for (int lane = 1; lane <= kLanes; ++lane)
    for (int c = 0; c < kBehindRallyCell; ++c) {
      rally.cell(lane, c).outgoing = false;
      rally.cell(lane, c).incoming = false;
    }
  for (int entry = 1; entry <= kRestingThrowerEntries; ++entry) face.show(tables.thrower(entry));
  for (auto p : tables.opponentParts) face.hide(p);
  vars.PlayerLane = kStartingLane;
  MostraWuffel();
  vars.PointsThrown = kPointsThrown;
  vars.PointsRally = kPointsRally;
  vars.ChanceActive = false;
  if (vars.GameMode == GameModeValue::GameA) {
    vars.FirstBall = true;
    timer(TimerId::TimerPrimaPalla).setInterval(kFirstBallTicksAfterSetUp * timer(TimerId::TimerGioco).interval());
    timer(TimerId::TimerPrimaPalla).setEnabled(true);
  }
}

void Handheld::MostraWuffel() {
  const int lane = vars.PlayerLane;
  face.show(tables.pose(lane, Pose::Body));
  face.show(tables.pose(lane, Pose::FrameC));
  face.hide(tables.pose(lane, Pose::FrameA));
  face.hide(tables.pose(lane, Pose::FrameB));
}

void Handheld::NascondiWuffel() {
  const int lane = vars.PlayerLane;
  for (auto p : {Pose::Body, Pose::FrameA, Pose::FrameB, Pose::FrameC}) face.hide(tables.pose(lane, p));
}

void Handheld::MostraVite() {
  int marks;
  switch (vars.LivesLeft) {
    case 3: marks = 0; break;
    case 2: marks = 1; break;
    case 1: marks = 2; break;
    case 0: marks = 3; break;
    default: return;
  }
  face.setVisible(E::Im_Miss0, marks > 0);
  for (int i = 0; i < 3; ++i) face.setVisible(tables.missMarks[i], i < marks);
}

void Handheld::showNumber(std::int32_t n) {
  // Only a best score read from the store could be negative; it shows as 0.
  if (n < 0) n = 0;
  const std::array<int, 4> divisors{1000, 100, 10, 1};
  for (int pos = 0; pos < 4; ++pos) {
    const bool blank = pos < 3 && n < divisors[pos];
    if (blank)
      face.clearPicture(tables.scoreDigits[pos]);
    else
      face.copyPicture(tables.scoreDigits[pos], tables.digitGlyphs[(n / divisors[pos]) % 10]);
  }
}

void Handheld::TrasformaScore(std::int32_t& value) {
  if (value > kHighestScore) {
    // Held at the largest number the display shows, and shown: leaving the
    // digits as they were would show 9998 for a score of 9999, or the lit
    // face's 1200 for a best score past 9999. No chance is tested there.
    value = kHighestScore;
    showNumber(value);
  } else {
    showNumber(value);
    testChance();
  }
  applyPace();
}

}  // namespace wuffel
