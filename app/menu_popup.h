// PM_Menu as a popup menu: the items of the command menu's table with their
// captions, shortcut texts, separators and the default item in bold; each
// time it opens, the items read as the game says they do then.
#pragma once

#include <functional>

#include <QMenu>

#include "frontend/watching.h"
#include "game/menu_items.h"

namespace wuffel {

class MenuPopup : public QMenu {
 public:
  using ItemState = std::function<MenuItemState(const MenuItem&)>;
  // Without `state` every item reads as the table says.
  MenuPopup(QWidget* parent, std::function<void(MenuCommand)> choose, ItemState state = {});
  // The watching items, in a submenu before the last separator; each reads
  // as `canChoose` says when the menu opens.
  void addWatchItems(std::function<void(WatchCommand)> choose, std::function<bool(WatchCommand)> canChoose);

 private:
  void showStates();

  ItemState state_;
  QList<QAction*> tableActions_;  // one a row of the command menu's table
};

}  // namespace wuffel
