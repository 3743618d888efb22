// PM_Menu as a popup menu: the items of the command menu's table with their
// captions, shortcut texts, separators and the default item in bold.
#pragma once

#include <functional>

#include <QMenu>

#include "game/menu_items.h"

namespace wuffel {

class MenuPopup : public QMenu {
 public:
  MenuPopup(QWidget* parent, std::function<void(MenuCommand)> choose);
};

}  // namespace wuffel
