// What the program asks the shell to open, named as the program names them:
// the command menu's documents, relative to the working directory, and the
// splash window's two addresses.
#pragma once

#include <string_view>

namespace wuffel {

inline constexpr std::string_view kReadmeDocument = ".\\readme.txt";
inline constexpr std::string_view kWhatsnewDocument = ".\\whatsnew.txt";
inline constexpr std::string_view kManualProgram = ".\\Manual.EXE";

inline constexpr std::string_view kMailAddress = "mailto:wuffel-tennis@example.org";
inline constexpr std::string_view kWebAddress = "https://wuffel-tennis.example.org/";

}  // namespace wuffel
