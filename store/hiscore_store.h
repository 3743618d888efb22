// The best-score store: integers kept as decimal text in the settings store.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "store/settings_backend.h"

namespace wuffel {

inline constexpr std::string_view kHiScoreKey = "Software\\Quillon\\WuffelTennis";

class StoreObserver {
 public:
  virtual ~StoreObserver() = default;
  virtual void storeRead(std::string_view name, std::int32_t value) = 0;
  virtual void storeWritten(std::string_view name, std::int32_t value) = 0;
};

// The text of a stored integer, read as the platform reads integers: leading
// blanks, an optional sign, then decimal digits or hexadecimal digits after
// "$" or "0x". Anything else, or a number outside 32 bits, gives nothing.
std::optional<std::int32_t> parseStoredInteger(std::string_view text);

class HiScoreStore {
 public:
  // Opens (or creates) the key; a failure is not reported.
  HiScoreStore(SettingsBackend& backend, std::string_view keyPath, StoreObserver* observer = nullptr);

  // Sections are always empty: the values lie in the key itself. Both raise
  // a WuffelError with the store's message when the store fails.
  std::int32_t readInteger(std::string_view section, std::string_view name, std::int32_t fallback);
  void writeInteger(std::string_view section, std::string_view name, std::int32_t value);
  // Writes `value` unless the store holds a number at least as high: a best
  // score that another running copy of the program stored since this one
  // read it stays. What is stored is read back in the same step as the
  // write, so no other writer comes between.
  void raiseInteger(std::string_view section, std::string_view name, std::int32_t value);

 private:
  void finishWrite(std::string_view name, std::int32_t value, WriteOutcome outcome);

  SettingsBackend& backend_;
  StoreObserver* observer_;
};

}  // namespace wuffel
