#include "web/page_menu.h"

#include "web/glue.h"

namespace wuffel::web {

VirtualKey passedKey(VirtualKey code) {
  if (code == kBrowsersOwnKey) return kOtherKey;
  return modernControlForKey(code) || menuCommandForKey(code) ? code : kOtherKey;
}

std::string shortcutShown(const MenuItem& item, std::string_view text) {
  return std::string(item.shortcutKey == kBrowsersOwnKey ? "" : text);
}

void showMenuItemStates(const Handheld& handheld) {
  for (const auto& item : kCommandMenu) {
    if (!item.command) continue;
    const MenuItemState state = handheld.menuItemState(item);
    wuffel_glue_showMenuItem(static_cast<int>(*item.command), std::string(state.caption).c_str(),
                             shortcutShown(item, state.shortcutText).c_str(), state.enabled);
  }
}

}  // namespace wuffel::web
