// The command menu PM_Menu, as data: its items in menu order with their
// captions and shortcut keys. The window program builds its popup menu from
// this table, the scenario runner knows the item names from it, and the
// handheld finds a shortcut key's command here.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace wuffel {

// Virtual-key codes of the menu's shortcut keys.
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyF2 = 113;
inline constexpr int kKeyF3 = 114;
inline constexpr int kKeyF4 = 115;
inline constexpr int kKeyF5 = 116;

enum class MenuCommand { PM_1About, PM_3Readme, PM_4Whatsnew, PM_6Instruct, PM_8HiScore, PM_Settings, PM_10Exit };

struct MenuItem {
  std::string_view name;
  std::string_view caption;  // "-" makes the item a separator
  std::optional<MenuCommand> command;
  std::string_view shortcutText;  // what the menu shows beside the caption
  int shortcutKey;                // its virtual-key code, or 0
};

inline constexpr std::array<MenuItem, 11> kCommandMenu{{
    {"PM_1About", "About...", MenuCommand::PM_1About, "F1", kKeyF1},
    {"PM_2N1", "-", std::nullopt, "", 0},
    {"PM_3Readme", "View 'Readme.txt'", MenuCommand::PM_3Readme, "F2", kKeyF2},
    {"PM_4Whatsnew", "View 'Whatsnew.txt'", MenuCommand::PM_4Whatsnew, "F3", kKeyF3},
    {"PM_5N2", "-", std::nullopt, "", 0},
    {"PM_6Instruct", "Open 'Manual.exe'", MenuCommand::PM_6Instruct, "F4", kKeyF4},
    {"PM_7N3", "-", std::nullopt, "", 0},
    {"PM_8HiScore", "Reset Hiscores", MenuCommand::PM_8HiScore, "", 0},
    {"PM_Settings", "Settings...", MenuCommand::PM_Settings, "F5", kKeyF5},
    {"PM_9N4", "-", std::nullopt, "", 0},
    {"PM_10Exit", "E&xit", MenuCommand::PM_10Exit, "Esc", kKeyEscape},
}};

// The menu's default item, drawn in bold.
inline constexpr MenuCommand kDefaultMenuCommand = MenuCommand::PM_1About;

// The documents the menu opens, named as the program names them: relative
// to the working directory.
inline constexpr std::string_view kReadmeDocument = ".\\readme.txt";
inline constexpr std::string_view kWhatsnewDocument = ".\\whatsnew.txt";
inline constexpr std::string_view kManualProgram = ".\\Manual.EXE";

inline constexpr bool isSeparator(const MenuItem& item) { return item.caption == "-"; }

inline constexpr std::optional<MenuCommand> menuCommandForKey(int virtualKey) {
  for (const auto& item : kCommandMenu)
    if (item.command && item.shortcutKey != 0 && item.shortcutKey == virtualKey) return item.command;
  return std::nullopt;
}

inline constexpr std::optional<MenuCommand> menuCommandNamed(std::string_view name) {
  for (const auto& item : kCommandMenu)
    if (item.command && item.name == name) return item.command;
  return std::nullopt;
}

}  // namespace wuffel
