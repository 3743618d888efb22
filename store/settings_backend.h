// The per-user settings store the best scores live in: one key holding
// named values. Value names compare without regard to case. The window
// program keeps it in a QSettings file; the runner and the tests in memory.
#pragma once

#include <functional>
#include <optional>
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

enum class WriteOutcome {
  Written,
  Kept,  // the value stays as it was, as asked
  NoKey,
  Refused,
};

// Given what the store holds under a name, the text to write there, or
// nothing to leave it as it is.
using WriteDecision = std::function<std::optional<std::string>(const StoredValue&)>;

class SettingsBackend {
 public:
  virtual ~SettingsBackend() = default;
  // Names the key that the values lie in, `path` (backslash-separated, as
  // "Software\Maker\App"); nothing is opened or made yet: ensureKey makes
  // it, and its parents, before the first write. False when the path names
  // no key the back end can keep; it then works on whatever root it has.
  virtual bool useKey(std::string_view path) = 0;
  // Makes sure the key in use exists before a write.
  virtual bool ensureKey() = 0;
  virtual StoredValue read(std::string_view name) = 0;
  // Reads a value and writes the text `decide` gives for it, with no other
  // writer between the read and the write, also in another process. A
  // value whose name differs only in case is replaced, keeping its name.
  // The write reaches the store before it returns.
  virtual WriteOutcome updateText(std::string_view name, const WriteDecision& decide) = 0;
  WriteOutcome writeText(std::string_view name, std::string_view text);
};

// Compares two value names as the store does: without regard to ASCII case.
bool sameValueName(std::string_view a, std::string_view b);

}  // namespace wuffel
