// The per-user settings store the best scores live in: one key holding
// named values. Value names compare without regard to case. The window
// program keeps it in a QSettings file; the runner and the tests in memory.
#pragma once

#include <string>
#include <string_view>

namespace wuffel {

struct StoredValue {
  enum class Outcome {
    NoKey,    // the key cannot be opened: nothing can be read
    Missing,  // no value of that name
    Found,
  };
  Outcome outcome = Outcome::Missing;
  bool isText = false;  // a text value, rather than a number, list or blob
  std::string text;     // the text, when isText
};

enum class WriteOutcome { Written, Refused };

class SettingsBackend {
 public:
  virtual ~SettingsBackend() = default;
  // Opens the key at `path` (backslash-separated, as "Software\Maker\App"),
  // creating it and its parents. False when it cannot; the back end then
  // works on whatever root it has.
  virtual bool openKey(std::string_view path) = 0;
  // Makes sure the open key exists once more before a write.
  virtual bool ensureKey() = 0;
  virtual StoredValue read(std::string_view name) = 0;
  // Writes a text value; a value whose name differs only in case is
  // replaced, keeping its name. Reaches the store before it returns.
  virtual WriteOutcome writeText(std::string_view name, std::string_view text) = 0;
};

// Compares two value names as the store does: without regard to ASCII case.
bool sameValueName(std::string_view a, std::string_view b);

}  // namespace wuffel
