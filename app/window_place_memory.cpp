#include "app/window_place_memory.h"

#include <QEvent>
#include <QWidget>

#include "app/kept_on_screen.h"
#include "game/handheld.h"

namespace wuffel {

WindowPlaceMemory::WindowPlaceMemory(QWidget& window, Handheld& handheld, PlayerSettingsStore& store)
    : window_(window), handheld_(handheld), store_(store) {
  window_.installEventFilter(this);
}

bool WindowPlaceMemory::eventFilter(QObject* watched, QEvent* event) {
  // The first time the window is shown is when "- PLAY -" put it on the screen.
  if (event->type() == QEvent::Show && !placed_ && watched == &window_) {
    placed_ = true;
    if (handheld_.settings().rememberPosition())
      if (const auto place = store_.loadPlace())
        window_.move(keptOnAScreen(QRect(QPoint(place->left, place->top), window_.frameGeometry().size())).topLeft());
  }
  return false;
}

void WindowPlaceMemory::keep() {
  if (!placed_ || !handheld_.settings().rememberPosition()) return;
  const QPoint at = window_.isFullScreen() ? window_.normalGeometry().topLeft() : window_.pos();
  store_.savePlace({at.x(), at.y()});
}

}  // namespace wuffel
