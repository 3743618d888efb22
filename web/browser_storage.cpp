#include "web/browser_storage.h"

#include <cstdlib>
#include <memory>
#include <sstream>

#include "web/glue.h"

namespace wuffel::web {

namespace {
// A text from the glue, taken whole: a zero byte in it is the stored
// text's own, and the store reads it as the desktop's reads its file.
std::optional<std::string> taken(char* text, int size) {
  if (!text) return std::nullopt;
  std::unique_ptr<char, decltype(&std::free)> owned(text, &std::free);
  return std::string(owned.get(), static_cast<std::size_t>(size));
}
}  // namespace

std::vector<std::string> BrowserStorage::keys() const {
  std::vector<std::string> keys;
  int size = 0;
  char* text = wuffel_glue_storageKeys(&size);
  std::istringstream lines(taken(text, size).value_or(""));
  for (std::string key; std::getline(lines, key);) keys.push_back(key);
  return keys;
}

std::optional<std::string> BrowserStorage::get(const std::string& key) const {
  int size = 0;
  char* text = wuffel_glue_storageGet(key.c_str(), &size);
  return taken(text, size);
}

bool BrowserStorage::set(const std::string& key, const std::string& value) {
  return wuffel_glue_storageSet(key.c_str(), value.c_str()) != 0;
}

}  // namespace wuffel::web
