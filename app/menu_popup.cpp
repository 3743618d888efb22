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
    tableActions_.push_back(action);
    if (isSeparator(item)) continue;
    const MenuCommand command = *item.command;
    connect(action, &QAction::triggered, this, [choose, command] { choose(command); });
    if (command == kDefaultMenuCommand) setDefaultAction(action);
  }
  if (state_) connect(this, &QMenu::aboutToShow, this, [this] { showStates(); });
}

void MenuPopup::showStates() {
  for (std::size_t i = 0; i < kCommandMenu.size(); ++i) {
    if (isSeparator(kCommandMenu[i])) continue;
    const MenuItemState state = state_(kCommandMenu[i]);
    QAction* action = tableActions_[static_cast<qsizetype>(i)];
    action->setText(textOf(state));
    action->setEnabled(state.enabled);
  }
}

void MenuPopup::addWatchItems(std::function<void(WatchCommand)> choose, std::function<bool(WatchCommand)> canChoose) {
  auto* watch = new QMenu(qtText(kWatchMenuCaption), this);
  watch->menuAction()->setObjectName(QStringLiteral("PM_Watch"));
  for (const auto& item : kWatchMenu) {
    QAction* action = watch->addAction(textOf({item.caption, item.key}));
    action->setObjectName(qtText(item.name));
    const WatchCommand command = item.command;
    connect(action, &QAction::triggered, this, [choose, command] { choose(command); });
  }
  connect(watch, &QMenu::aboutToShow, watch, [watch, canChoose] {
    const QList<QAction*> items = watch->actions();
    for (std::size_t i = 0; i < kWatchMenu.size(); ++i)
      items[static_cast<qsizetype>(i)]->setEnabled(canChoose(kWatchMenu[i].command));
  });
  // Before the separator above "Exit".
  QAction* lastSeparator = nullptr;
  for (QAction* action : tableActions_)
    if (action->isSeparator()) lastSeparator = action;
  insertMenu(lastSeparator, watch);
}

}  // namespace wuffel
