// The best-score store: integers kept as decimal text in the settings store.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "store/settings_backend.h"

namespace wuffel {

inline constexpr std::string_view kHiScoreKey = "Software\\Quillon\\WuffelTennis";

// The values of the two best scores. The program reads them as "Hiscore"
// and writes them as "HiScore"; the store compares names without regard to
// case, so both reach the same value, and a value that a write creates keeps
// the write's spelling.
inline constexpr std::string_view kHiScoreAReadName = "HiscoreA";
inline constexpr std::string_view kHiScoreBReadName = "HiscoreB";
inline constexpr std::string_view kHiScoreAWriteName = "HiScoreA";
inline constexpr std::string_view kHiScoreBWriteName = "HiScoreB";

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
  // Uses the key at `keyPath`, made at the first write; a path it cannot
  // use is not reported.
  HiScoreStore(SettingsBackend& backend, std::string_view keyPath, StoreObserver* observer = nullptr);

  // The values lie in the key itself. Both raise a WuffelError with the
  // store's message when the store fails.
  std::int32_t readInteger(std::string_view name, std::int32_t fallback);
  void writeInteger(std::string_view name, std::int32_t value);
  // Writes `value` unless the store holds a number at least as high: a best
  // score that another running copy of the program stored since this one
  // read it stays. What is stored is read back in the same step as the
  // write, so no other writer comes between.
  void raiseInteger(std::string_view name, std::int32_t value);

 private:
  void finishWrite(std::string_view name, std::int32_t value, WriteOutcome outcome);

  SettingsBackend& backend_;
  StoreObserver* observer_;
};

}  // namespace wuffel
