#include "app/menu_key.h"

#include <QKeyEvent>

#include "frontend/face_pointing.h"
#include "game/handheld.h"

namespace wuffel {

MenuKey::MenuKey(QObject& window, Handheld& handheld) : handheld_(handheld) { window.installEventFilter(this); }

bool MenuKey::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto& key = static_cast<const QKeyEvent&>(*event);
  const bool menuKey =
      key.key() == Qt::Key_Menu || (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier);
  if (!menuKey) return false;
  if (!key.isAutoRepeat()) {
    const auto [x, y] = middleOf(ElementId::Im_Base);
    handheld_.mousePress(x, y, MouseButton::Right);
    handheld_.mouseRelease(x, y, MouseButton::Right);
  }
  return true;
}

}  // namespace wuffel
