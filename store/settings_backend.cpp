#include "store/settings_backend.h"

#include <cctype>

namespace wuffel {

bool sameValueName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

WriteOutcome SettingsBackend::writeText(std::string_view name, std::string_view text) {
  return updateText(name, [text](const StoredValue&) { return std::string(text); });
}

}  // namespace wuffel
