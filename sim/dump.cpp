#include "sim/dump.h"

#include <sstream>

#include "face/digit_readout.h"

namespace wuffel::sim {

namespace {

std::string litLine(const Face& face) {
  std::string s = "dump lit";
  for (const auto& e : kElements)
    if (face.visible(e.id)) s += " " + std::string(e.name);
  return s;
}

std::string digitsLine(const Face& face) {
  std::string s = "dump digits";
  for (int position = 0; position < 4; ++position) {
    const auto digit = digitShown(face, position);
    s += " " + (digit ? std::to_string(*digit) : std::string("-"));
  }
  return s;
}

std::string varsLine(const GameVariables& v, const RallyState& rally) {
  std::ostringstream s;
  s << "dump vars GameMode=" << static_cast<int>(v.GameMode) << " Score=" << v.Score << " LivesLeft=" << v.LivesLeft
    << " PlayerLane=" << v.PlayerLane << " HiScoreA=" << v.HiScoreA << " HiScoreB=" << v.HiScoreB
    << " PointsThrown=" << v.PointsThrown << " PointsRally=" << v.PointsRally << " ChanceMark=" << v.ChanceMark
    << " GameRunning=" << v.GameRunning << " PlayerActive=" << v.PlayerActive << " SwingReady=" << v.SwingReady
    << " KeyLatch=" << v.KeyLatch << " TickPhase=" << v.TickPhase << " ThrowState=" << v.ThrowState
    << " TickLane=" << v.TickLane << " ThrowLane=" << v.ThrowLane << " ThrowOdds=" << v.ThrowOdds
    << " FirstBall=" << v.FirstBall << " MissStep=" << v.MissStep << " ZzzStep=" << v.ZzzStep
    << " ChanceStep=" << v.ChanceStep << " BlinkCount=" << v.BlinkCount << " ChanceActive=" << v.ChanceActive
    << " BallSoundDue=" << v.BallSoundDue << " BackSoundDue=" << v.BackSoundDue << " MissPending=" << v.MissPending
    << " OpponentSwing=" << rally.swing(1) << "," << rally.swing(2) << "," << rally.swing(3)
    << " FirstActivation=" << v.FirstActivation << " DragOriginX=" << v.DragOriginX
    << " DragOriginY=" << v.DragOriginY;
  return s.str();
}

std::string rallyLine(const RallyState& rally) {
  std::string s = "dump rally";
  for (int lane = 1; lane <= kLanes; ++lane) {
    s += ' ';
    for (int c = 0; c < kRallyCells; ++c) {
      const auto& cell = rally.cell(lane, c);
      s += cell.outgoing && cell.incoming ? 'b' : cell.outgoing ? 'o' : cell.incoming ? 'i' : '.';
    }
  }
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
