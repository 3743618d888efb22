// The command menu PM_Menu, as data: its items in menu order with their
// captions and shortcut keys. The window program builds its popup menu from
// this table, the scenario runner knows the item names from it, and the
// handheld finds a shortcut key's command here.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "platform/input.h"

namespace wuffel {

enum class MenuCommand { PM_1About, PM_3Readme, PM_4Whatsnew, PM_6Instruct, PM_8HiScore, PM_Settings, PM_10Exit, PM_Pause };

struct MenuItem {
  std::string_view name;
  std::string_view caption;  // "-" makes the item a separator
  std::optional<MenuCommand> command;
  std::string_view shortcutText;  // what the menu shows beside the caption
  std::optional<VirtualKey> shortcutKey;
};

inline constexpr std::array<MenuItem, 12> kCommandMenu{{
    {"PM_1About", "About...", MenuCommand::PM_1About, "F1", VirtualKey::F1},
    {"PM_2N1", "-", std::nullopt, "", std::nullopt},
    {"PM_3Readme", "View 'Readme.txt'", MenuCommand::PM_3Readme, "F2", VirtualKey::F2},
    {"PM_4Whatsnew", "View 'Whatsnew.txt'", MenuCommand::PM_4Whatsnew, "F3", VirtualKey::F3},
    {"PM_5N2", "-", std::nullopt, "", std::nullopt},
    {"PM_6Instruct", "Open 'Manual.exe'", MenuCommand::PM_6Instruct, "F4", VirtualKey::F4},
    {"PM_7N3", "-", std::nullopt, "", std::nullopt},
    {"PM_8HiScore", "Reset Hiscores", MenuCommand::PM_8HiScore, "", std::nullopt},
    {"PM_Settings", "Settings...", MenuCommand::PM_Settings, "F5", VirtualKey::F5},
    // Pauses a running game and resumes a paused one, whatever the keys; P is
    // its key only with modern keys, so the handheld takes P itself.
    {"PM_Pause", "Pause", MenuCommand::PM_Pause, "", std::nullopt},
    {"PM_9N4", "-", std::nullopt, "", std::nullopt},
    {"PM_10Exit", "E&xit", MenuCommand::PM_10Exit, "Esc", VirtualKey::Escape},
}};

// What the pause item reads while a game is paused.
inline constexpr std::string_view kResumeCaption = "Resume";

// How an item shows when the menu opens.
struct MenuItemState {
  std::string_view caption;
  std::string_view shortcutText;
  bool enabled = true;
};

// The menu's default item, drawn in bold.
inline constexpr MenuCommand kDefaultMenuCommand = MenuCommand::PM_1About;

inline constexpr bool isSeparator(const MenuItem& item) { return item.caption == "-"; }

inline constexpr std::optional<MenuCommand> menuCommandForKey(VirtualKey key) {
  for (const auto& item : kCommandMenu)
    if (item.command && item.shortcutKey == key) return item.command;
  return std::nullopt;
}

inline constexpr std::optional<MenuCommand> menuCommandNamed(std::string_view name) {
  for (const auto& item : kCommandMenu)
    if (item.command && item.name == name) return item.command;
  return std::nullopt;
}

}  // namespace wuffel
