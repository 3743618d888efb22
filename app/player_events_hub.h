// The game's player events, passed on to every part of the window program
// that listens. A setting reaches what it changes by a subscription of its
// own; what shows every setting, or whether each was saved, hears them all.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "game/player_events.h"

namespace wuffel {

class PlayerEventsHub : public PlayerEvents {
 public:
  std::vector<std::function<void(bool)>> onPauseChanged;
  std::vector<std::function<void(bool saved)>> onAnySettingChanged;
  std::function<void()> onSettingsRequested;
  std::function<void(bool)> onAidedBestShown;

  // `slot` hears each new value of `setting`, in the order of subscription.
  void subscribe(Setting setting, std::function<void(int value)> slot) {
    slots_[static_cast<std::size_t>(setting)].push_back(std::move(slot));
  }

  void pauseChanged(bool paused) override {
    for (const auto& f : onPauseChanged) f(paused);
  }
  void settingChanged(Setting setting, int value, bool saved) override {
    for (const auto& slot : slots_[static_cast<std::size_t>(setting)]) slot(value);
    for (const auto& f : onAnySettingChanged) f(saved);
  }
  void settingsRequested() override {
    if (onSettingsRequested) onSettingsRequested();
  }
  void aidedBestShown(bool shown) override {
    if (onAidedBestShown) onAidedBestShown(shown);
  }

 private:
  std::array<std::vector<std::function<void(int)>>, kSettings.size()> slots_;
};

}  // namespace wuffel
