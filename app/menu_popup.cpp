#include "app/menu_popup.h"

#include "app/qt_text.h"

namespace wuffel {

MenuPopup::MenuPopup(QWidget* parent, std::function<void(MenuCommand)> choose) : QMenu(parent) {
  for (const auto& item : kCommandMenu) {
    QAction* action = isSeparator(item) ? addSeparator() : addAction(qtText(item.caption));
    action->setObjectName(qtText(item.name));
    if (isSeparator(item)) continue;
    // The shortcut is only shown here: the handheld takes the key itself, and
    // only while its own window has the keyboard.
    if (!item.shortcutText.empty()) action->setText(action->text() + '\t' + qtText(item.shortcutText));
    const MenuCommand command = *item.command;
    connect(action, &QAction::triggered, this, [choose, command] { choose(command); });
    if (command == kDefaultMenuCommand) setDefaultAction(action);
  }
}

}  // namespace wuffel
