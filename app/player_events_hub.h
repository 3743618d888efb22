// The game's player events, passed on to every part of the window program
// that listens: the main window, the settings dialog.
#pragma once

#include <functional>
#include <vector>

#include "game/player_events.h"

namespace wuffel {

class PlayerEventsHub : public PlayerEvents {
 public:
  std::vector<std::function<void(bool)>> onPauseChanged;
  std::vector<std::function<void(Setting, bool)>> onSettingChanged;
  std::function<void()> onSettingsRequested;

  void pauseChanged(bool paused) override {
    for (const auto& f : onPauseChanged) f(paused);
  }
  void settingChanged(Setting setting, bool saved) override {
    for (const auto& f : onSettingChanged) f(setting, saved);
  }
  void settingsRequested() override {
    if (onSettingsRequested) onSettingsRequested();
  }
};

}  // namespace wuffel
