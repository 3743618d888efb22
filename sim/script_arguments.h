// The words of a scenario script's lines: what each kind of argument may
// be, and a line's arguments read one by one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/menu_items.h"
#include "game/timers.h"
#include "platform/input.h"
#include "sim/quoted_word.h"
#include "sim/script.h"
#include "sound/channel.h"

namespace wuffel::sim {

std::optional<int> parseInt(const std::string& s);
std::optional<int> parseNonNegative(const std::string& s);
std::optional<std::int64_t> parseUtc(const std::string& s);
std::optional<std::int64_t> parseLocal(const std::string& s);
std::optional<MouseButton> parseButton(const std::string& s);
std::optional<MouseButtons> parseButtons(const std::string& s);
std::optional<ChannelId> channelNamed(const std::string& s);
std::optional<command::SplashItem> splashItemNamed(const std::string& s);
// The words of a line without its comment; a text value of the store is one
// word, the rest of the line after a single blank.
std::vector<std::string> wordsOf(std::string text);
// The names of the menu's commands, as "PM_1About|PM_3Readme|...".
std::string menuItemNames();

// A command's arguments, read one by one: the line is well formed while it
// has the expected number of words and every one read so far parsed.
class Arguments {
 public:
  Arguments(const std::vector<std::string>& words, std::size_t count) : words_(words), ok_(words.size() == count + 1) {}
  bool ok() const { return ok_; }

  int integer(std::size_t i) { return take(i, parseInt); }
  int nonNegative(std::size_t i) { return take(i, parseNonNegative); }
  int positive(std::size_t i) {
    const int v = integer(i);
    if (ok_ && v <= 0) ok_ = false, refused_ = &words_[i];
    return v;
  }
  std::int64_t utc(std::size_t i) { return take(i, parseUtc); }
  std::int64_t local(std::size_t i) { return take(i, parseLocal); }
  MouseButton button(std::size_t i) { return take(i, parseButton); }
  MouseButtons buttons(std::size_t i) { return take(i, parseButtons); }
  ChannelId channel(std::size_t i) { return take(i, channelNamed); }
  command::SplashItem splashItem(std::size_t i) { return take(i, splashItemNamed); }
  // A timer's index, by its name.
  int timer(std::size_t i) {
    return take(i, [](const std::string& s) -> std::optional<int> {
      for (std::size_t t = 0; t < kTimers.size(); ++t)
        if (kTimers[t].name == s) return static_cast<int>(t);
      return std::nullopt;
    });
  }
  MenuCommand menuItem(std::size_t i) {
    return take(i, [](const std::string& s) { return menuCommandNamed(s); });
  }
  // Which of `names` word i is.
  std::size_t choice(std::size_t i, std::initializer_list<std::string_view> names) {
    return take(i, [&](const std::string& s) -> std::optional<std::size_t> {
      for (std::size_t k = 0; k < names.size(); ++k)
        if (s == names.begin()[k]) return k;
      return std::nullopt;
    });
  }
  const std::string& word(std::size_t i) {
    static const std::string none;
    return ok_ ? words_[i] : none;
  }
  // The complaint about a line not of `form`, quoting the word that did not parse.
  std::string expected(const std::string& form) const {
    return "expected: " + form + (refused_ ? ", not " + quotedWord(*refused_) : "");
  }

 private:
  template <typename Parse>
  auto take(std::size_t i, Parse parse) -> typename decltype(parse(std::string()))::value_type {
    using Value = typename decltype(parse(std::string()))::value_type;
    if (!ok_) return Value{};
    const auto value = parse(words_[i]);
    ok_ = value.has_value();
    if (!ok_) refused_ = &words_[i];
    return value.value_or(Value{});
  }

  const std::vector<std::string>& words_;
  bool ok_;
  const std::string* refused_ = nullptr;  // the first word that did not parse
};

}  // namespace wuffel::sim
