#include "store/player_settings.h"

#include <algorithm>
#include <charconv>

namespace wuffel {

std::optional<Setting> settingNamed(std::string_view name) {
  for (const auto& info : kSettings)
    if (info.name == name) return info.id;
  return std::nullopt;
}

bool isAllowed(Setting s, int value) {
  const auto& info = settingInfo(s);
  if (info.kind == SettingInfo::Kind::ZoomSteps)
    return std::find(kZoomSteps.begin(), kZoomSteps.end(), value) != kZoomSteps.end();
  if (info.kind == SettingInfo::Kind::SpeedSteps)
    return std::find(kSpeedSteps.begin(), kSpeedSteps.end(), value) != kSpeedSteps.end();
  return value >= info.low && value <= info.high;
}

std::optional<int> parseSettingValue(Setting s, std::string_view text) {
  if (settingInfo(s).kind == SettingInfo::Kind::KeyModeWord) {
    for (std::size_t i = 0; i < kKeyModeWords.size(); ++i)
      if (kKeyModeWords[i] == text) return static_cast<int>(i);
    return std::nullopt;
  }
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || !isAllowed(s, value)) return std::nullopt;
  return value;
}

std::string settingText(Setting s, int value) {
  if (settingInfo(s).kind == SettingInfo::Kind::KeyModeWord) return std::string(kKeyModeWords.at(static_cast<std::size_t>(value)));
  return std::to_string(value);
}

int nextZoom(int zoom, int direction) {
  const auto at = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom);
  if (direction > 0) {
    const auto up = (at != kZoomSteps.end() && *at == zoom) ? at + 1 : at;
    return up == kZoomSteps.end() ? kZoomSteps.back() : *up;
  }
  return at == kZoomSteps.begin() ? kZoomSteps.front() : *(at - 1);
}

PlayerSettings::PlayerSettings() {
  for (const auto& info : kSettings) values_[index(info.id)] = info.defaultValue;
}

bool PlayerSettings::set(Setting s, int value) {
  if (!isAllowed(s, value)) return false;
  values_[index(s)] = value;
  return true;
}

double PlayerSettings::outputGain() const {
  if (muted()) return 0;
  const double share = volume() / 100.0;
  return share * share;
}

}  // namespace wuffel
