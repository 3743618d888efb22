// A word of a script as a message shows it: between single quotes, cut to
// its first 80 characters (a file's name is shown whole), and with every character that a terminal would
// not show (control characters, NUL, the byte-order mark, the zero-width and
// direction marks, bytes that are not UTF-8) written as an escape, so that
// the word on the screen is the word in the file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wuffel::sim {

inline constexpr std::size_t kMostCharactersQuoted = 80;

std::string quotedWord(std::string_view word, std::size_t mostCharacters = kMostCharactersQuoted);

}  // namespace wuffel::sim
