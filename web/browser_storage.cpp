#include "web/browser_storage.h"

#include <cstdlib>
#include <memory>
#include <sstream>

#include "web/glue.h"

namespace wuffel::web {

namespace {
std::optional<std::string> taken(char* text) {
  if (!text) return std::nullopt;
  std::unique_ptr<char, decltype(&std::free)> owned(text, &std::free);
  return std::string(owned.get());
}
}  // namespace

std::vector<std::string> BrowserStorage::keys() const {
  std::vector<std::string> keys;
  std::istringstream lines(taken(wuffel_glue_storageKeys()).value_or(""));
  for (std::string key; std::getline(lines, key);) keys.push_back(key);
  return keys;
}

std::optional<std::string> BrowserStorage::get(const std::string& key) const {
  return taken(wuffel_glue_storageGet(key.c_str()));
}

bool BrowserStorage::set(const std::string& key, const std::string& value) {
  return wuffel_glue_storageSet(key.c_str(), value.c_str()) != 0;
}

}  // namespace wuffel::web
