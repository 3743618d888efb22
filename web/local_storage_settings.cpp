#include "web/local_storage_settings.h"

namespace wuffel::web {

bool LocalStorageSettings::useKey(std::string_view path) {
  const auto slash = path.find_last_of('\\');
  prefix_ = std::string(slash == std::string_view::npos ? path : path.substr(slash + 1)) + "/";
  return true;
}

std::optional<std::string> LocalStorageSettings::existingKey(std::string_view name) const {
  for (const auto& key : storage_.keys())
    if (key.size() > prefix_.size() && key.compare(0, prefix_.size(), prefix_) == 0 &&
        sameValueName(std::string_view(key).substr(prefix_.size()), name))
      return key;
  return std::nullopt;
}

StoredValue LocalStorageSettings::read(std::string_view name) {
  const auto key = existingKey(name);
  const auto text = key ? storage_.get(*key) : std::nullopt;
  if (!text) return {StoredValue::Outcome::Missing, false, {}};
  return {StoredValue::Outcome::Found, true, *text};
}

// A value whose name differs only in case is replaced under its own name.
WriteOutcome LocalStorageSettings::updateText(std::string_view name, const WriteDecision& decide) {
  const auto text = decide(read(name));
  if (!text) return WriteOutcome::Kept;
  const std::string key = existingKey(name).value_or(prefix_ + std::string(name));
  return storage_.set(key, *text) ? WriteOutcome::Written : WriteOutcome::Refused;
}

}  // namespace wuffel::web
