#include "store/player_settings_store.h"

#include <charconv>

#include "store/hiscore_store.h"

namespace wuffel {

namespace {
constexpr std::string_view kPlaceName = "window-position";

std::optional<int> parseWhole(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}
}  // namespace

PlayerSettingsStore::PlayerSettingsStore(SettingsBackend& backend) : backend_(backend) {
  // The best scores' key, which the game opens only later, at its start.
  backend_.useKey(kHiScoreKey);
}

std::string PlayerSettingsStore::storedName(std::string_view name) {
  return std::string(kSettingsGroup) + "/" + std::string(name);
}

std::optional<std::string> PlayerSettingsStore::readText(std::string_view name) {
  const StoredValue stored = backend_.read(storedName(name));
  if (stored.outcome != StoredValue::Outcome::Found || !stored.isText) return std::nullopt;
  return stored.text;
}

bool PlayerSettingsStore::writeText(std::string_view name, const std::string& text) {
  return backend_.ensureKey() && backend_.writeText(storedName(name), text) == WriteOutcome::Written;
}

namespace {
// The contrasts from 40 % up once offered, now below the lowest, which keeps
// lit segments at 3:1 against the glass: a player who chose one gets the
// lowest now, not the full contrast.
constexpr int kOnceLowestContrast = 40;

std::optional<int> storedValue(Setting s, const std::string& text) {
  const auto value = parseSettingValue(s, text);
  if (value || s != Setting::Contrast) return value;
  int once = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, once);
  if (error == std::errc() && stop == end && once >= kOnceLowestContrast && once < settingInfo(s).low)
    return settingInfo(s).low;
  return std::nullopt;
}
}  // namespace

PlayerSettings PlayerSettingsStore::load() {
  PlayerSettings settings;
  for (const auto& info : kSettings)
    if (const auto text = readText(info.name))
      if (const auto value = storedValue(info.id, *text)) settings.set(info.id, *value);
  return settings;
}

bool PlayerSettingsStore::save(Setting s, const PlayerSettings& settings) {
  return writeText(settingInfo(s).name, settingText(s, settings.value(s)));
}

std::optional<RememberedPlace> PlayerSettingsStore::loadPlace() {
  const auto text = readText(kPlaceName);
  if (!text) return std::nullopt;
  const auto comma = text->find(',');
  if (comma == std::string::npos) return std::nullopt;
  const auto left = parseWhole(std::string_view(*text).substr(0, comma));
  const auto top = parseWhole(std::string_view(*text).substr(comma + 1));
  if (!left || !top) return std::nullopt;
  return RememberedPlace{*left, *top};
}

bool PlayerSettingsStore::savePlace(RememberedPlace place) {
  return writeText(kPlaceName, std::to_string(place.left) + "," + std::to_string(place.top));
}

}  // namespace wuffel
