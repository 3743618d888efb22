#include "store/hiscore_store.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string>

#include "platform/error.h"

namespace wuffel {

namespace {
std::string quoted(std::string_view name) { return "'" + std::string(name) + "'"; }

// Text values end at their first zero byte, as the platform's strings do.
std::string_view untilZero(const std::string& text) {
  return std::string_view(text.data(), std::min(text.size(), text.find('\0')));
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::optional<std::int32_t> parseStoredInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  // One past the largest magnitude, so that -2147483648 still fits.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = base == 16 ? hexDigit(text[i]) : (std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > kLimit) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

namespace {

// The values lie in the key itself, so the message of a key that cannot be
// made names no section after its last word.
constexpr const char* kKeyNotCreated = "Failed to create key ";

}  // namespace

HiScoreStore::HiScoreStore(SettingsBackend& backend, std::string_view keyPath, StoreObserver* observer)
    : backend_(backend), observer_(observer) {
  backend_.useKey(keyPath);
}

std::int32_t HiScoreStore::readInteger(std::string_view name, std::int32_t fallback) {
  const StoredValue stored = backend_.read(name);
  std::int32_t result = fallback;
  switch (stored.outcome) {
    case StoredValue::Outcome::NoKey:
    case StoredValue::Outcome::Missing:
      break;
    case StoredValue::Outcome::Found: {
      if (!stored.isText) throw WuffelError("Invalid data type for " + quoted(name));
      result = parseStoredInteger(untilZero(stored.text)).value_or(fallback);
      break;
    }
  }
  if (observer_) observer_->storeRead(name, result);
  return result;
}

void HiScoreStore::writeInteger(std::string_view name, std::int32_t value) {
  if (!backend_.ensureKey()) throw WuffelError(kKeyNotCreated);
  finishWrite(name, value, backend_.writeText(name, std::to_string(value)));
}

void HiScoreStore::raiseInteger(std::string_view name, std::int32_t value) {
  if (!backend_.ensureKey()) throw WuffelError(kKeyNotCreated);
  finishWrite(name, value, backend_.updateText(name, [value](const StoredValue& stored) -> std::optional<std::string> {
    // Anything that is no number, or not text, gives way to a real score.
    if (stored.outcome == StoredValue::Outcome::Found && stored.isText) {
      const auto current = parseStoredInteger(untilZero(stored.text));
      if (current && *current >= value) return std::nullopt;
    }
    return std::to_string(value);
  }));
}

void HiScoreStore::finishWrite(std::string_view name, std::int32_t value, WriteOutcome outcome) {
  switch (outcome) {
    case WriteOutcome::Written:
      if (observer_) observer_->storeWritten(name, value);
      return;
    case WriteOutcome::Kept:
    case WriteOutcome::NoKey:
      return;
    case WriteOutcome::Refused:
      throw WuffelError("Failed to set data for " + quoted(name));
  }
}

}  // namespace wuffel
