// The page's keys and command menu: which keys it passes on to the game,
// the shortcuts its menu names (none for the browser's own F5), and the
// menu's items as the game says they read before it pops up.
#pragma once

#include <string>
#include <string_view>

#include "game/handheld.h"

namespace wuffel::web {

// F5 reloads the page: the browser keeps it, and the menu names no key for
// "Settings...".
inline constexpr VirtualKey kBrowsersOwnKey = VirtualKey::F5;

// The keys the page passes on by their own codes, as the desktop does: the
// game's keys, modern ones too, and the menu's shortcuts. Any other key
// reaches the game as one it has no use for.
VirtualKey passedKey(VirtualKey code);

std::string shortcutShown(const MenuItem& item, std::string_view text);

// Tells the page the menu's items as the game says they read now.
void showMenuItemStates(const Handheld& handheld);

}  // namespace wuffel::web
