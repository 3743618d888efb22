// The score rules: the chance that stops play at the chance marks, and the
// pace that the score sets through the throw odds and, in Game B, the tick.
#include "game/handheld.h"
#include "game/rules.h"
#include "game/rules_digest.h"

#include <algorithm>

namespace wuffel {

namespace {
constexpr int kUnchanged = -1;

struct Pace {
  int throwOdds;
  int tickInterval;
};

// By the tens digit of the score within its hundred; index 10 is an exact
// hundred.
constexpr std::array<Pace, 11> kPaceGameA{{{11, kUnchanged}, {10, kUnchanged}, {9, kUnchanged},
                                           {8, kUnchanged}, {kUnchanged, kUnchanged}, {kUnchanged, kUnchanged},
                                           {7, kUnchanged}, {kUnchanged, kUnchanged}, {kUnchanged, kUnchanged},
                                           {6, kUnchanged}, {kUnchanged, kUnchanged}}};
constexpr std::array<Pace, 11> kPaceGameB{{{11, kStartingTickMs}, {kUnchanged, 210}, {9, 200}, {kUnchanged, 190},
                                           {7, 180}, {kUnchanged, 170}, {6, 165}, {kUnchanged, 160},
                                           {5, 155}, {4, 150}, {kUnchanged, kUnchanged}}};
// The chance marks come round in every thousand, the pace in every hundred.
constexpr std::int32_t kChanceRound = 1000;
constexpr std::int32_t kPaceRound = 100;
constexpr int kWindowOfChance = 6;
constexpr int kThrowOddsPastAHundredA = 6;
constexpr int kThrowOddsPastAHundredB = 5;

// Scores reduced into 1..period, a positive multiple of the period giving
// the period itself, and 0 staying 0.
std::int32_t reduced(std::int32_t score, std::int32_t period) {
  while (score > period) score -= period;
  return score;
}
}  // namespace

void addScoreRules(FnvDigest& digest) {
  for (const auto* table : {&kPaceGameA, &kPaceGameB})
    for (const Pace& pace : *table) digest.add(pace.throwOdds).add(pace.tickInterval);
  digest.add(kChanceRound).add(kPaceRound).add(kWindowOfChance);
  digest.add(kThrowOddsPastAHundredA).add(kThrowOddsPastAHundredB);
}

void Handheld::testChance() {
  if (!vars.GameRunning || vars.ChanceActive) return;
  const std::int32_t r = reduced(vars.Score, kChanceRound);
  if (r - vars.ChanceMark < 0 || r - vars.ChanceMark > kWindowOfChance) return;
  vars.ChanceMark = vars.ChanceMark == kFirstChanceMark ? kSecondChanceMark : kFirstChanceMark;
  startChance();
}

void Handheld::applyPace() {
  if (!vars.GameRunning) return;
  const bool gameA = vars.GameMode == GameModeValue::GameA;
  const bool gameB = vars.GameMode == GameModeValue::GameB;
  if (!gameA && !gameB) return;
  const Pace& pace = (gameA ? kPaceGameA : kPaceGameB)[static_cast<std::size_t>(std::max(0, reduced(vars.Score, kPaceRound)) / 10)];
  if (pace.throwOdds != kUnchanged) vars.ThrowOdds = pace.throwOdds;
  if (pace.tickInterval != kUnchanged) timer(TimerId::TimerGioco).setInterval(pace.tickInterval);
  if (vars.Score > kPaceRound) vars.ThrowOdds = gameA ? kThrowOddsPastAHundredA : kThrowOddsPastAHundredB;
}

}  // namespace wuffel
