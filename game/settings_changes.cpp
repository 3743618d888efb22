// Changes to the players' settings: applied at once and stored at once.
#include "game/handheld.h"

namespace wuffel {

bool Handheld::changeSetting(Setting setting, int value) {
  const auto arrival = arrived(input::ChangeSetting{setting, value});
  if (!settings_.set(setting, value)) return false;
  applySetting(setting);
  const bool saved = settingsStore_.save(setting, settings_);
  if (ports_.playerEvents) ports_.playerEvents->settingChanged(setting, settings_.value(setting), saved);
  return saved;
}

bool Handheld::restoreDefaultSettings() {
  const auto arrival = arrived(input::RestoreDefaults{});
  bool saved = true;
  for (const auto& info : kSettings) saved = changeSetting(info.id, info.defaultValue) && saved;
  return saved;
}

// What the core itself does with a setting; the rest is the front end's.
void Handheld::applySetting(Setting setting) {
  if (setting == Setting::Volume || setting == Setting::Muted) ports_.sound.setGain(settings_.outputGain());
  if (setting == Setting::Speed) {
    pace_.setPercent(settings_.speed());
    ports_.sound.setSpeed(settings_.speed());
  }
  if (setting == Setting::Speed || setting == Setting::Assist) noteAidsOfGame(false);
}

}  // namespace wuffel
