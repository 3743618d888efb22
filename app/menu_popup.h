// PM_Menu as a popup menu: the items of the command menu's table with their
// captions, shortcut texts, separators and the default item in bold; each
// time it opens, the items read as the game says they do then.
#pragma once

#include <functional>

#include <QMenu>

#include "game/menu_items.h"

namespace wuffel {

class MenuPopup : public QMenu {
 public:
  using ItemState = std::function<MenuItemState(const MenuItem&)>;
  // Without `state` every item reads as the table says.
  MenuPopup(QWidget* parent, std::function<void(MenuCommand)> choose, ItemState state = {});

 private:
  void showStates();

  ItemState state_;
};

}  // namespace wuffel
