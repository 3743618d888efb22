#include "sim/dump.h"

#include <sstream>

#include "frontend/game_state.h"

namespace wuffel::sim {

namespace {

std::string litLine(const Face& face) {
  std::string s = "dump lit";
  for (const auto& e : kElements)
    if (face.visible(e.id)) s += " " + std::string(e.name);
  return s;
}

std::string timersLine(const Handheld& h) {
  std::string s = "dump timers";
  for (const auto& t : kTimers) {
    const auto& timer = h.timerState(t.id);
    s += " " + std::string(t.name) + "=" + std::to_string(timer.interval()) + "/" + (timer.enabled() ? "on" : "off");
  }
  return s;
}

std::string soundLine(const SoundChannels& channels) {
  std::string s = "dump sound";
  for (int c = 0; c < kChannelCount; ++c) {
    const auto id = static_cast<ChannelId>(c);
    const auto& ch = channels[id];
    s += " " + std::string(channelName(id)) + "=";
    s += ch.isOpen() ? std::string(ch.isSounding() ? "playing" : "silent") + "/" + std::to_string(ch.positionMs()) +
                           "/" + std::to_string(ch.lengthMs())
                     : "closed";
  }
  return s;
}

std::string storeLine(const MemorySettings& store) {
  std::string s = "dump store";
  // The values of the key itself; the settings' group has a line of its own.
  for (const auto& value : store.values())
    if (value.name.find('/') == std::string::npos) s += " " + value.name + "=" + value.text;
  return s;
}

std::string windowsLine(const StandInWindows& windows) {
  std::string s = "dump windows";
  for (auto id : {WindowId::Form1, WindowId::SplashForm, WindowId::AboutForm}) {
    const auto at = windows.position(id);
    s += " " + std::string(windowName(id)) + "=" + std::to_string(at.left) + "," + std::to_string(at.top) + "," +
         (windows.isShown(id) ? "shown" : "hidden");
  }
  return s;
}

std::string settingsLine(const PlayerSettings& settings) {
  std::string s = "dump settings";
  for (const auto& info : kSettings)
    s += " " + std::string(info.name) + "=" + settingText(info.id, settings.value(info.id));
  return s;
}

}  // namespace

void writeDump(EventLog& trace, const VirtualHandheld& sim, const MemorySettings& store) {
  const Handheld& h = sim.handheld;
  trace.event(litLine(h.faceState()));
  trace.event(digitsLine(h.faceState()));
  trace.event(varsLine(h.variables(), h.rallyState()));
  trace.event(rallyLine(h.rallyState()));
  trace.event(timersLine(h));
  trace.event(soundLine(sim.channels));
  trace.event(storeLine(store));
  trace.event(windowsLine(sim.windows));
  trace.event(settingsLine(h.settings()));
}

}  // namespace wuffel::sim
