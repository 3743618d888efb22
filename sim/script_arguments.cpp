#include "sim/script_arguments.h"

#include <cctype>

#include "frontend/input_words.h"
#include "game/menu_items.h"

namespace wuffel::sim {

std::optional<int> parseInt(const std::string& s) {
  if (s.empty() || s.size() > 12) return std::nullopt;
  const std::size_t digitsFrom = s[0] == '-' ? 1 : 0;
  if (digitsFrom == s.size()) return std::nullopt;
  for (std::size_t k = digitsFrom; k < s.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(s[k]))) return std::nullopt;
  const long long v = std::stoll(s);
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int>(v);
}

std::optional<int> parseNonNegative(const std::string& s) {
  const auto v = parseInt(s);
  return v && *v >= 0 ? v : std::nullopt;
}

// HH:MM:SS.mmm
std::optional<std::int64_t> parseUtc(const std::string& s) {
  if (s.size() != 12 || s[2] != ':' || s[5] != ':' || s[8] != '.') return std::nullopt;
  for (std::size_t i : {0, 1, 3, 4, 6, 7, 9, 10, 11})
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return std::nullopt;
  const auto number = [&s](std::size_t from, std::size_t digits) {
    int n = 0;
    for (std::size_t i = from; i < from + digits; ++i) n = n * 10 + (s[i] - '0');
    return n;
  };
  const int h = number(0, 2), m = number(3, 2), sec = number(6, 2), ms = number(9, 3);
  if (h > 23 || m > 59 || sec > 59) return std::nullopt;
  return ((h * 60LL + m) * 60 + sec) * 1000 + ms;
}

// HH:MM, or with seconds, HH:MM:SS, or to the millisecond, as the UTC time.
std::optional<std::int64_t> parseLocal(const std::string& s) {
  if (s.size() == 12) return parseUtc(s);
  if (s.size() == 8 && s[5] == ':') {
    const auto seconds = parseUtc(s + ".000");
    return seconds;
  }
  if (s.size() != 5 || s[2] != ':') return std::nullopt;
  for (std::size_t i : {0, 1, 3, 4})
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return std::nullopt;
  const int h = std::stoi(s.substr(0, 2));
  const int m = std::stoi(s.substr(3, 2));
  if (h > 23 || m > 59) return std::nullopt;
  return (h * 60LL + m) * 60000;
}

std::optional<MouseButton> parseButton(const std::string& s) { return mouseButtonNamed(s); }

std::optional<MouseButtons> parseButtons(const std::string& s) { return mouseButtonsNamed(s); }

std::optional<ChannelId> channelNamed(const std::string& s) {
  for (int c = 0; c < kChannelCount; ++c)
    if (channelName(static_cast<ChannelId>(c)) == s) return static_cast<ChannelId>(c);
  return std::nullopt;
}

std::optional<command::SplashItem> splashItemNamed(const std::string& s) {
  const auto link = splashLinkNamed(s);
  return link ? std::optional(static_cast<command::SplashItem>(*link)) : std::nullopt;
}

// The words of a line without its comment; a text value of the store is one
// word, the rest of the line after a single blank.
std::vector<std::string> wordsOf(std::string text) {
  if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
  std::vector<std::string> words;
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  for (std::size_t at = 0; at < text.size();) {
    while (at < text.size() && blank(text[at])) ++at;
    const std::size_t from = at;
    while (at < text.size() && !blank(text[at])) ++at;
    if (at > from) words.push_back(text.substr(from, at - from));
  }
  if (words.size() >= 3 && words[0] == "store" && words[2] == "text") {
    std::size_t at = 0;
    for (int word = 0; word < 3; ++word) {
      at = text.find_first_not_of(" \t", at);
      at = text.find_first_of(" \t", at);
    }
    words.resize(3);
    words.push_back(at < text.size() ? text.substr(at + 1) : "");
  }
  return words;
}

// The names of the menu's commands, as "PM_1About|PM_3Readme|...".
std::string menuItemNames() {
  std::string names;
  for (const auto& item : kCommandMenu)
    if (item.command) names += (names.empty() ? "" : "|") + std::string(item.name);
  return names;
}

}  // namespace wuffel::sim
