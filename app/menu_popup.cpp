#include "app/menu_popup.h"

#include "app/qt_text.h"

namespace wuffel {

namespace {
// The shortcut is only shown here: the handheld takes the key itself, and
// only while its own window has the keyboard.
QString textOf(const MenuItemState& state) {
  const QString caption = qtText(state.caption);
  return state.shortcutText.empty() ? caption : caption + '\t' + qtText(state.shortcutText);
}
}  // namespace

MenuPopup::MenuPopup(QWidget* parent, std::function<void(MenuCommand)> choose, ItemState state)
    : QMenu(parent), state_(std::move(state)) {
  for (const auto& item : kCommandMenu) {
    QAction* action = isSeparator(item) ? addSeparator() : addAction(textOf({item.caption, item.shortcutText}));
    action->setObjectName(qtText(item.name));
    if (isSeparator(item)) continue;
    const MenuCommand command = *item.command;
    connect(action, &QAction::triggered, this, [choose, command] { choose(command); });
    if (command == kDefaultMenuCommand) setDefaultAction(action);
  }
  if (state_) connect(this, &QMenu::aboutToShow, this, [this] { showStates(); });
}

void MenuPopup::showStates() {
  const QList<QAction*> shown = actions();
  for (std::size_t i = 0; i < kCommandMenu.size(); ++i) {
    if (isSeparator(kCommandMenu[i])) continue;
    const MenuItemState state = state_(kCommandMenu[i]);
    QAction* action = shown[static_cast<qsizetype>(i)];
    action->setText(textOf(state));
    action->setEnabled(state.enabled);
  }
}

}  // namespace wuffel
