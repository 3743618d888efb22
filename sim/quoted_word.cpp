#include "sim/quoted_word.h"

#include <cstdint>
#include <cstdio>

namespace wuffel::sim {

namespace {

// One character of UTF-8 text: its code point and its length in bytes, or
// a length of 0 for a byte that starts no well-formed character.
struct Decoded {
  char32_t point;
  std::size_t length;
};

Decoded decode(std::string_view s) {
  const auto byte = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length;
  char32_t point;
  char32_t least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, point = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, point = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, point = lead & 0x07, least = 0x10000;
  } else {
    return {0, 0};
  }
  if (s.size() < length) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {0, 0};
    point = point << 6 | (byte(i) & 0x3F);
  }
  if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return {0, 0};
  return {point, length};
}

bool isInvisible(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xAD || (c >= 0x200B && c <= 0x200F) ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x2069) || c == 0xFEFF;
}

std::string escaped(const char* format, unsigned value) {
  char text[12];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

std::string quotedWord(std::string_view word, std::size_t mostCharacters) {
  std::string shown = "'";
  for (std::size_t characters = 0; !word.empty(); ++characters) {
    if (characters == mostCharacters) return shown + "'...";
    const Decoded c = decode(word);
    if (c.length == 0) {
      shown += escaped("\\x%02X", static_cast<unsigned char>(word[0]));
      word.remove_prefix(1);
      continue;
    }
    if (c.point == 0)
      shown += "\\0";
    else if (c.point == '\t')
      shown += "\\t";
    else if (c.point == '\\')
      shown += "\\\\";
    else if (c.point < 0x80 && isInvisible(c.point))
      shown += escaped("\\x%02X", c.point);
    else if (isInvisible(c.point))
      shown += escaped("\\u%04X", c.point);
    else
      shown.append(word.substr(0, c.length));
    word.remove_prefix(c.length);
  }
  return shown + "'";
}

}  // namespace wuffel::sim
