// A handheld on virtual time with recording stand-ins for the platform.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/handheld.h"
#include "platform/error.h"
#include "platform/virtual_scheduler.h"
#include "store/memory_settings.h"

namespace wuffel::testing {

// The tick of a game at its start.
inline constexpr int kTick = 220;
// The UTC offset at which the first thrower turn of a game started at time 0
// draws lane 2 (its seed is 14 + 220 ms): that ball reaches the racket at
// tick 39 and passes the player at tick 45.
inline constexpr std::int64_t kFirstThrowInLane2 = 14;

class RecordingPorts : public WindowSystem, public ErrorBox, public Shell, public TimeOfDay, public MediaClock,
                       public SoundLoader, public SoundObserver, public SystemBeep, public MessageLoop {
 public:
  // WindowSystem
  void show(WindowId id) override { shown[id] = true; }
  void hide(WindowId id) override { shown[id] = false; }
  void bringToFront(WindowId id) override { fronts.push_back(id); }
  bool isShown(WindowId id) const override { return shown.count(id) && shown.at(id); }
  WindowPosition position(WindowId id) const override { return positions.count(id) ? positions.at(id) : WindowPosition{}; }
  void moveTo(WindowId id, WindowPosition p) override {
    positions[id] = p;
    moves.push_back(p);
  }
  int screenWidth() const override { return 1024; }
  int screenHeight() const override { return 768; }
  int windowWidth(WindowId) const override { return 654; }
  int windowHeight(WindowId) const override { return 394; }
  void popupMenu(int x, int y) override { popups.push_back({x, y}); }
  // ErrorBox, Shell
  void showError(const std::string& message) override { errors.push_back(message); }
  void open(const std::string& target) override { opened.push_back(target); }
  // TimeOfDay, MediaClock
  int utcMillisecondsSinceMidnight() const override { return static_cast<int>((utcAtZero + *now) % 86400000); }
  LocalTime localTime() const override {
    const auto minutes = static_cast<int>((localAtZero + *now) % 86400000 / 60000);
    return {minutes / 60, minutes % 60};
  }
  // SystemBeep, MessageLoop
  void beep() override { ++beeps; }
  void quit() override { ++quits; }
  std::int64_t nowMs() const override { return *now; }
  // SoundLoader: every file lasts 100 ms unless it is missing.
  SoundPtr load(std::string_view name) override {
    if (missing.count(std::string(name))) throw WuffelError("Cannot open sound file " + std::string(name));
    auto s = std::make_shared<DecodedSound>();
    s->sampleRate = 22050;
    s->channels = 1;
    s->samples.assign(2205, 0);
    s->lengthMs = 100;
    return s;
  }
  void soundRequested(ChannelId id, SoundOp op) override {
    sounds.push_back(std::string(channelName(id)) + " " + std::string(opName(op)));
  }

  std::map<WindowId, bool> shown;
  std::map<WindowId, WindowPosition> positions;
  std::vector<WindowPosition> moves;
  std::vector<WindowId> fronts;
  std::vector<std::string> errors;
  std::vector<std::string> opened;
  std::vector<std::string> sounds;
  std::vector<WindowPosition> popups;
  int beeps = 0;
  int quits = 0;
  std::map<std::string, bool> missing;
  std::int64_t utcAtZero = 0;
  std::int64_t localAtZero = 0;  // local time of day at time 0, in ms
  const std::int64_t* now = nullptr;
};

struct Rig {
  explicit Rig(std::int64_t utcAtZero = 0, std::vector<std::string> missingFiles = {}) {
    ports.utcAtZero = utcAtZero;
    ports.now = &clockNow;
    for (auto& f : missingFiles) ports.missing[f] = true;
    ports.positions[WindowId::Form1] = kMainWindowCreatedAt;
    keepBestScoresIn(settings);
  }
  // A fresh handheld, keeping its best scores in `store`.
  void keepBestScoresIn(SettingsBackend& store) {
    handheld = std::make_unique<Handheld>(
        HandheldPorts{scheduler, ports, ports, ports, ports, channels, store, ports, ports, nullptr});
  }
  void advanceTo(std::int64_t t) {
    scheduler.advanceTo(t, [this](int i) {
      clockNow = scheduler.now();
      handheld->timerFired(i);
    });
    clockNow = t;
  }
  void wait(std::int64_t d) { advanceTo(clockNow + d); }
  bool lit(ElementId id) const { return handheld->face.visible(id); }
  // Presses and releases a button element with the left mouse button.
  void click(ElementId id) {
    const auto& s = elementInfo(id);
    handheld->mousePress(s.left + 1, s.top + 1, MouseButton::Left);
    handheld->mouseRelease(s.left + 1, s.top + 1, MouseButton::Left);
  }

  std::int64_t clockNow = 0;
  VirtualScheduler scheduler{static_cast<int>(kTimers.size())};
  SilentOutput output;
  RecordingPorts ports;
  SoundChannels channels{ports, ports, output, &ports};
  MemorySettings settings;
  std::unique_ptr<Handheld> handheld;
};

}  // namespace wuffel::testing
