#include "app/menu_popup.h"

namespace wuffel {

namespace {
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
}  // namespace

CommandMenu::CommandMenu(QWidget* parent, std::function<void(MenuCommand)> choose) : QMenu(parent) {
  for (const auto& item : kCommandMenu) {
    QAction* action = isSeparator(item) ? addSeparator() : addAction(qs(item.caption));
    action->setObjectName(qs(item.name));
    if (isSeparator(item)) continue;
    // The shortcut is only shown here: the handheld takes the key itself, and
    // only while its own window has the keyboard.
    if (!item.shortcutText.empty()) action->setText(action->text() + '\t' + qs(item.shortcutText));
    const MenuCommand command = *item.command;
    connect(action, &QAction::triggered, this, [choose, command] { choose(command); });
    if (command == kDefaultMenuCommand) setDefaultAction(action);
  }
}

}  // namespace wuffel
