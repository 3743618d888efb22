// The page's localStorage as the C++ side reaches it through the glue,
// with a stand-in for the glue that hands texts over as web/glue.js does:
// malloc'ed, zero-terminated, and with their size in bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "store/hiscore_store.h"
#include "store/memory_settings.h"
#include "store/player_settings_store.h"
#include "web/browser_storage.h"
#include "web/glue.h"

namespace {
std::map<std::string, std::string> localStorage;

char* glueText(const std::string& text, int* size) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  std::memcpy(copy, text.c_str(), text.size() + 1);
  *size = static_cast<int>(text.size());
  return copy;
}
}  // namespace

extern "C" {
char* wuffel_glue_storageKeys(int* size) {
  std::string keys;
  for (const auto& [key, value] : localStorage) keys += (keys.empty() ? "" : "\n") + key;
  return glueText(keys, size);
}
char* wuffel_glue_storageGet(const char* key, int* size) {
  const auto found = localStorage.find(key);
  return found == localStorage.end() ? nullptr : glueText(found->second, size);
}
int wuffel_glue_storageSet(const char* key, const char* value) {
  localStorage[key] = value;
  return 1;
}
}

namespace wuffel::web {
namespace {

// The desktop's store holds what its file gives for each text; the page's
// holds the text in localStorage. Both read it with the same rules: a best
// score as the text up to a first zero byte, a setting only when the whole
// text is one of its values.
TEST(BrowserStorage, ThePageReadsEveryStoredTextAsTheDesktopDoes) {
  const std::string texts[] = {std::string("12\0 34", 6), std::string("\0" "7", 2), std::string("modern\0", 7),
                               "modern", "  0x1F", "40", "12 ", "", "\xef\xbb\xbf" "5"};
  const char* settingNames[] = {"keys", "volume", "ghosts"};
  for (const std::string& text : texts) {
    // A key of another script's that holds a zero byte hides nothing.
    localStorage = {{std::string("A\0B", 3), "1"}, {"WuffelTennis/HiScoreA", text}};
    MemorySettings desktop;
    desktop.put("HiScoreA", true, text);
    for (const char* name : settingNames) {
      localStorage["WuffelTennis/" + PlayerSettingsStore::storedName(name)] = text;
      desktop.put(PlayerSettingsStore::storedName(name), true, text);
    }
    BrowserStorage storage;
    LocalStorageSettings page(storage);
    EXPECT_EQ(HiScoreStore(page, kHiScoreKey).readInteger("HiscoreA", -1),
              HiScoreStore(desktop, kHiScoreKey).readInteger("HiscoreA", -1)) << text;
    const PlayerSettings onPage = PlayerSettingsStore(page).load();
    const PlayerSettings onDesktop = PlayerSettingsStore(desktop).load();
    for (const auto& info : kSettings) EXPECT_EQ(onPage.value(info.id), onDesktop.value(info.id)) << info.name << " " << text;
  }

  localStorage = {{"WuffelTennis/HiScoreA", std::string("12\0 34", 6)},
                  {"WuffelTennis/Settings/volume", std::string("12\0 34", 6)}};
  BrowserStorage storage;
  LocalStorageSettings page(storage);
  EXPECT_EQ(storage.get("WuffelTennis/HiScoreA"), std::string("12\0 34", 6));
  EXPECT_EQ(HiScoreStore(page, kHiScoreKey).readInteger("HiscoreA", 0), 12);
  EXPECT_EQ(PlayerSettingsStore(page).load().volume(), 100);
}

}  // namespace
}  // namespace wuffel::web
