// A player that watches the face and plays Game A well: it steps to the
// lane of a ball at the racket and swings, every few milliseconds of
// virtual time. The tests and benchmarks of recordings play real games
// with it, recorded as the window program records them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frontend/game_recorder.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"

namespace wuffel::testing {

class BotGame {
 public:
  // A game started at `utc` (ms since midnight), played until its game over
  // or `longestMs`; the bot misses one ball in `missOneIn` on purpose, and
  // with `stallEveryMs` the clock stalls for 1.5 s that often, as a busy
  // machine's does.
  BotGame(std::int64_t utc, int missOneIn, std::optional<std::int64_t> stallEveryMs = std::nullopt)
      : sim_(setup(utc, stallEveryMs.has_value()), store_), missOneIn_(missOneIn), stallEveryMs_(stallEveryMs) {
    recorder_.emplace(sim_.handheld, sim_.scheduler,
                      GameRecorder::Origin{"test", "2026-12-10T09:41:07Z", sim_.timeOfDay, "screen 1920 1080\n"},
                      [this](const Recording& r) { recordings.push_back(r); });
    sim_.handheld.observeInputs(&*recorder_);
  }

  // From `swingsUntilMs` on, the bot stands still and lets every ball by.
  void play(std::int64_t longestMs, std::int64_t swingsUntilMs = INT64_MAX) {
    Handheld& h = sim_.handheld;
    sim_.windows.activate(WindowId::Form1);
    h.start();
    h.splashPlay();
    const auto& a = elementInfo(ElementId::Puls_GameA);
    at(500);
    h.mousePress(a.left + 2, a.top + 2, MouseButton::Left);
    at(600);
    h.mouseRelease(a.left + 2, a.top + 2, MouseButton::Left);
    int seen = 0;
    std::int64_t nextStall = stallEveryMs_.value_or(0);
    while (sim_.now() < longestMs && h.variables().GameRunning) {
      at(sim_.now() + 30);
      if (stallEveryMs_ && sim_.now() >= nextStall) {
        nextStall += *stallEveryMs_;
        at(sim_.now() + 1500);
      }
      const auto lane = laneOfBallAtRacket();
      if (!lane || sim_.now() >= swingsUntilMs) continue;
      if (*lane != h.variables().PlayerLane) {
        const VirtualKey key = *lane < h.variables().PlayerLane ? VirtualKey::Up : VirtualKey::Down;
        h.keyDown(key);
        h.keyUp(key);
        continue;
      }
      if (++seen % missOneIn_ == 0) continue;
      h.keyDown(VirtualKey::Ctrl);
      at(sim_.now() + 10);
      h.keyUp(VirtualKey::Ctrl);
    }
    recorder_->programEnded();
  }

  std::int32_t score() const { return sim_.handheld.variables().Score; }
  std::int64_t now() const { return sim_.now(); }
  // Hears the game's events from the start of play.
  void observe(GameEvents* observer) { sim_.handheld.observeGame(observer); }
  std::vector<Recording> recordings;

 private:
  static sim::PlatformSetup setup(std::int64_t utc, bool stalls) {
    sim::PlatformSetup s;
    s.utcAtZero = utc;
    s.localAtZero = 9 * 3600000;
    if (stalls) s.mostCatchUpMs = kMostCatchUpMs;
    return s;
  }
  void at(std::int64_t t) { sim_.advanceTo(t); }
  std::optional<int> laneOfBallAtRacket() const {
    const Face& face = sim_.handheld.faceState();
    for (int lane = 1; lane <= kLanes; ++lane)
      if (face.visible(kSegmentTables.throwCell(lane, kRacketThrowCell)) ||
          (sim_.handheld.rallyState().cell(lane, kRacketRallyCell).incoming))
        return lane;
    return std::nullopt;
  }

  MemorySettings store_;
  sim::VirtualHandheld sim_;
  int missOneIn_;
  std::optional<std::int64_t> stallEveryMs_;
  std::optional<GameRecorder> recorder_;
};

}  // namespace wuffel::testing
