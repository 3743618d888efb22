// A handheld on virtual time with the scenario runner's stand-ins, its best
// scores in memory and its sound requests kept.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "face/digit_readout.h"
#include "handheld_test_access.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"

namespace wuffel::testing {

// The tick of a game at its start.
inline constexpr int kTick = kStartingTickMs;
// The UTC offset at which the first thrower turn of a game started at time 0
// draws lane 2 (its seed is 14 + 220 ms): that ball reaches the racket at
// tick 39 and passes the player at tick 45.
inline constexpr std::int64_t kFirstThrowInLane2 = 14;

// The sound requests, as "MPlayerHit play".
class SoundRequests : public SoundObserver {
 public:
  void soundRequested(ChannelId id, SoundOp op) override {
    all.push_back(std::string(channelName(id)) + " " + std::string(opName(op)));
  }
  int count(const std::string& request) const {
    return static_cast<int>(std::count(all.begin(), all.end(), request));
  }
  std::vector<std::string> all;
};

struct Rig {
  // A handheld whose UTC time of day is `utcAtZero` at time 0, keeping its
  // best scores and the players' settings in `store`, or else in `settings`,
  // and telling `player` of its pauses and changed settings.
  explicit Rig(std::int64_t utcAtZero = 0, SettingsBackend* store = nullptr, PlayerEvents* player = nullptr)
      : sim(setupAt(utcAtZero), store ? *store : settings, listeners(player)),
        handheld(sim.handheld),
        inside(sim.handheld) {}

  std::int64_t now() const { return sim.now(); }
  void advanceTo(std::int64_t t) { sim.advanceTo(t); }
  void wait(std::int64_t d) { advanceTo(now() + d); }
  bool lit(ElementId id) const { return handheld.faceState().visible(id); }
  // Presses and releases a button element with the left mouse button.
  void click(ElementId id) {
    const auto& s = elementInfo(id);
    handheld.mousePress(s.left + 1, s.top + 1, MouseButton::Left);
    handheld.mouseRelease(s.left + 1, s.top + 1, MouseButton::Left);
  }
  // The four-digit display as it reads, "-" for a blank position.
  std::string digits() const {
    std::string s;
    for (int position = 0; position < 4; ++position) {
      const auto digit = digitShown(handheld.faceState(), position);
      s += digit ? static_cast<char>('0' + *digit) : '-';
    }
    return s;
  }

  TimelineTimeOfDay& timeOfDay() { return sim.timeOfDay; }
  sim::StandInWindows& windows() { return sim.windows; }
  const std::vector<std::string>& errors() const { return sim.errorBox.shown; }
  const std::vector<std::string>& opened() const { return sim.shell.opened; }
  int beeps() const { return sim.beep.beeps; }
  int quits() const { return sim.messageLoop.quits; }
  SoundChannels& channels() { return sim.channels; }

  MemorySettings settings;
  SoundRequests sounds;
  sim::VirtualHandheld sim;
  Handheld& handheld;
  HandheldTestAccess inside;

 private:
  static sim::PlatformSetup setupAt(std::int64_t utcAtZero) {
    sim::PlatformSetup setup;
    setup.utcAtZero = utcAtZero;
    return setup;
  }
  sim::Listeners listeners(PlayerEvents* player) {
    sim::Listeners l;
    l.sound = &sounds;
    l.player = player;
    return l;
  }
};

}  // namespace wuffel::testing
