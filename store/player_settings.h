// The players' settings: each one's name (in the store, in scripts and in
// dumps), its default, which is always the original behaviour, and the
// values it may hold.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wuffel {

enum class Setting {
  Keys, Volume, Muted, PauseOnFocusLoss, Zoom, RememberPosition, Ghosts, Fade, Contrast, Speed, Assist, SoundCues
};

enum class KeyMode { Original = 0, Modern = 1 };

// The window's sizes, in percent of the face on top of the desktop's scale.
inline constexpr std::array<int, 7> kZoomSteps{100, 125, 150, 200, 250, 300, 400};
// The paces a game may run at, in percent of the original's; every timer
// and every sound is stretched by the same factor.
inline constexpr std::array<int, 4> kSpeedSteps{50, 60, 75, 100};
inline constexpr int kOriginalSpeed = 100;

struct SettingInfo {
  enum class Kind {
    KeyModeWord,  // stored as one of kKeyModeWords; the value is its index
    Range,        // a whole number from `low` to `high`
    ZoomSteps,    // one of kZoomSteps
    SpeedSteps,   // one of kSpeedSteps
  };
  Setting id;
  std::string_view name;
  int defaultValue;
  Kind kind;
  int low = 0;
  int high = 0;
};

inline constexpr std::array<std::string_view, 2> kKeyModeWords{"original", "modern"};

// In the order scripts list them and dumps print them.
inline constexpr std::array<SettingInfo, 12> kSettings{{
    {Setting::Keys, "keys", 0, SettingInfo::Kind::KeyModeWord, 0, 1},
    {Setting::Volume, "volume", 100, SettingInfo::Kind::Range, 0, 100},
    {Setting::Muted, "muted", 0, SettingInfo::Kind::Range, 0, 1},
    {Setting::PauseOnFocusLoss, "pause-on-focus-loss", 0, SettingInfo::Kind::Range, 0, 1},
    {Setting::Zoom, "zoom", 100, SettingInfo::Kind::ZoomSteps},
    {Setting::RememberPosition, "remember-position", 0, SettingInfo::Kind::Range, 0, 1},
    {Setting::Ghosts, "ghosts", 0, SettingInfo::Kind::Range, 0, 20},
    {Setting::Fade, "fade", 0, SettingInfo::Kind::Range, 0, 1},
    {Setting::Contrast, "contrast", 100, SettingInfo::Kind::Range, 60, 100},
    {Setting::Speed, "speed", kOriginalSpeed, SettingInfo::Kind::SpeedSteps},
    {Setting::Assist, "assist", 0, SettingInfo::Kind::Range, 0, 1},
    {Setting::SoundCues, "sound-cues", 0, SettingInfo::Kind::Range, 0, 1},
}};

constexpr const SettingInfo& settingInfo(Setting s) { return kSettings[static_cast<std::size_t>(s)]; }
static_assert([] {
  for (std::size_t i = 0; i < kSettings.size(); ++i)
    if (static_cast<std::size_t>(kSettings[i].id) != i) return false;
  return true;
}(), "kSettings lists the settings in the order of their enum");
std::optional<Setting> settingNamed(std::string_view name);
bool isAllowed(Setting, int value);
// The value a text names: a word of the setting's, or a decimal number in
// its range. Anything else gives nothing.
std::optional<int> parseSettingValue(Setting, std::string_view text);
std::string settingText(Setting, int value);

// The next zoom step up (direction > 0) or down; the ends stay where they are.
int nextZoom(int zoom, int direction);

class PlayerSettings {
 public:
  PlayerSettings();

  int value(Setting s) const { return values_[index(s)]; }
  // False, changing nothing, for a value the setting cannot hold.
  bool set(Setting s, int value);

  KeyMode keys() const { return static_cast<KeyMode>(value(Setting::Keys)); }
  bool modernKeys() const { return keys() == KeyMode::Modern; }
  int volume() const { return value(Setting::Volume); }
  bool muted() const { return value(Setting::Muted) != 0; }
  bool pauseOnFocusLoss() const { return value(Setting::PauseOnFocusLoss) != 0; }
  int zoom() const { return value(Setting::Zoom); }
  bool rememberPosition() const { return value(Setting::RememberPosition) != 0; }
  int ghosts() const { return value(Setting::Ghosts); }
  bool fade() const { return value(Setting::Fade) != 0; }
  int contrast() const { return value(Setting::Contrast); }
  int speed() const { return value(Setting::Speed); }
  bool assist() const { return value(Setting::Assist) != 0; }
  bool soundCues() const { return value(Setting::SoundCues) != 0; }

  // The amplitude the sound output mixes at: 0 muted, 1 at full volume, the
  // volume's square in between, which the ear hears as even steps.
  double outputGain() const;

  bool operator==(const PlayerSettings&) const = default;

 private:
  static std::size_t index(Setting s) { return static_cast<std::size_t>(s); }
  std::array<int, kSettings.size()> values_{};
};

}  // namespace wuffel
