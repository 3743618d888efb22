// The handheld on virtual time with a stand-in for every port: what the
// scenario runner drives from a script, and the tests and benchmarks from
// code.
#pragma once

#include <cstdint>
#include <functional>

#include "game/handheld.h"
#include "sim/stand_ins.h"
#include "sound/audio_output.h"

namespace wuffel::sim {

// Who hears what the handheld does: the runner's trace, a test's recorder,
// or no one.
struct Listeners {
  EventLog* log = nullptr;
  FaceObserver* face = nullptr;
  TimerObserver* timers = nullptr;
  SoundObserver* sound = nullptr;
  StoreObserver* store = nullptr;
  PlayerEvents* player = nullptr;
};

// Where the handheld's sounds go instead of the stand-ins' silence: a front
// end watching a recording plays them on its own device.
struct SoundPorts {
  SoundLoader* files = nullptr;
  AudioOutput* output = nullptr;
};

class VirtualHandheld {
 public:
  VirtualHandheld(const PlatformSetup& setup, SettingsBackend& store, Listeners listeners = {},
                  SoundPorts sound = {});
  VirtualHandheld(const VirtualHandheld&) = delete;
  VirtualHandheld& operator=(const VirtualHandheld&) = delete;

  std::int64_t now() const { return scheduler.now(); }
  // Moves virtual time to `time`, firing in order every tick due by then:
  // `tick` runs each (by default, the handheld's timer handler).
  void advanceTo(std::int64_t time, const std::function<void(int timerIndex)>& tick = {});

  VirtualScheduler scheduler;
  TimelineTimeOfDay timeOfDay;
  TimelineMediaClock mediaClock;
  StandInWindows windows;
  StandInErrorBox errorBox;
  StandInShell shell;
  StandInBeep beep;
  StandInMessageLoop messageLoop;
  StandInQuestionBox questions;
  SilentOutput output;
  StandInSoundFiles soundFiles;
  SoundChannels channels;
  Handheld handheld;
};

}  // namespace wuffel::sim
