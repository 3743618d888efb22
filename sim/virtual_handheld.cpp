#include "sim/virtual_handheld.h"

namespace wuffel::sim {

VirtualHandheld::VirtualHandheld(const PlatformSetup& setup, SettingsBackend& store, Listeners listeners,
                                 SoundPorts sound)
    : scheduler(static_cast<int>(kTimers.size()), setup.mostCatchUpMs),
      timeOfDay(scheduler, setup.utcAtZero, setup.localAtZero),
      mediaClock(scheduler),
      windows(setup.screenWidth, setup.screenHeight, listeners.log),
      errorBox(listeners.log),
      shell(listeners.log),
      beep(listeners.log),
      questions(listeners.log),
      soundFiles(setup, output),
      channels(mediaClock, sound.files ? *sound.files : soundFiles, sound.output ? *sound.output : output, listeners.sound),
      handheld(HandheldPorts{scheduler, timeOfDay, windows, errorBox, shell, channels, store, beep, messageLoop,
                             questions, listeners.timers, listeners.store, listeners.player}) {
  if (listeners.face) handheld.observeFace(listeners.face);
}

void VirtualHandheld::advanceTo(std::int64_t time, const std::function<void(int)>& tick) {
  scheduler.advanceTo(time, tick ? tick : [this](int index) { handheld.timerFired(index); });
}

}  // namespace wuffel::sim
