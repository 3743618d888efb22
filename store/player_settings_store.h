// The players' settings in the per-user store, in the group "Settings"
// beside the best scores, which it never touches. Nothing here fails: a
// missing, unreadable or out-of-range value reads as its default, and a
// write the store refuses is only reported back.
#pragma once

#include <optional>
#include <string>

#include "store/player_settings.h"
#include "store/settings_backend.h"

namespace wuffel {

inline constexpr std::string_view kSettingsGroup = "Settings";

// A place on the desktop, in its own pixels.
struct RememberedPlace {
  int left = 0;
  int top = 0;
};

class PlayerSettingsStore {
 public:
  explicit PlayerSettingsStore(SettingsBackend& backend);

  PlayerSettings load();
  // Stores one setting as `settings` holds it; false when the store refused.
  bool save(Setting, const PlayerSettings& settings);

  // Where the window was left, for players who have it remembered.
  std::optional<RememberedPlace> loadPlace();
  bool savePlace(RememberedPlace);

  // The name a setting is stored under: its group and its own name.
  static std::string storedName(std::string_view name);

 private:
  std::optional<std::string> readText(std::string_view name);
  bool writeText(std::string_view name, const std::string& text);

  SettingsBackend& backend_;
};

}  // namespace wuffel
