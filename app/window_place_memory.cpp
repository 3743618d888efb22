#include "app/window_place_memory.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "game/handheld.h"

namespace wuffel {

namespace {
qint64 shared(const QRect& a, const QRect& b) {
  const QRect both = a.intersected(b);
  return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

qint64 distance(const QRect& area, QPoint p) {
  const int dx = std::max({area.left() - p.x(), 0, p.x() - area.right()});
  const int dy = std::max({area.top() - p.y(), 0, p.y() - area.bottom()});
  return qint64(dx) * dx + qint64(dy) * dy;
}
}  // namespace

WindowPlaceMemory::WindowPlaceMemory(QWidget& window, Handheld& handheld, PlayerSettingsStore& store)
    : window_(window), handheld_(handheld), store_(store) {
  window_.installEventFilter(this);
}

QRect WindowPlaceMemory::onAScreen(QRect place) {
  const auto screens = QGuiApplication::screens();
  if (screens.isEmpty()) return place;
  const QScreen* best = screens.front();
  for (const QScreen* s : screens) {
    const qint64 a = shared(s->availableGeometry(), place), b = shared(best->availableGeometry(), place);
    if (a > b || (a == b && a == 0 &&
                  distance(s->availableGeometry(), place.center()) < distance(best->availableGeometry(), place.center())))
      best = s;
  }
  const QRect area = best->availableGeometry();
  place.moveLeft(std::clamp(place.left(), area.left(), std::max(area.left(), area.right() + 1 - place.width())));
  place.moveTop(std::clamp(place.top(), area.top(), std::max(area.top(), area.bottom() + 1 - place.height())));
  return place;
}

bool WindowPlaceMemory::eventFilter(QObject* watched, QEvent* event) {
  // The first time the window is shown is when "- PLAY -" put it on the screen.
  if (event->type() == QEvent::Show && !placed_ && watched == &window_) {
    placed_ = true;
    if (handheld_.settings().rememberPosition())
      if (const auto place = store_.loadPlace())
        window_.move(onAScreen(QRect(QPoint(place->left, place->top), window_.frameGeometry().size())).topLeft());
  }
  return false;
}

void WindowPlaceMemory::keep() {
  if (!placed_ || !handheld_.settings().rememberPosition()) return;
  const QPoint at = window_.isFullScreen() ? window_.normalGeometry().topLeft() : window_.pos();
  store_.savePlace({at.x(), at.y()});
}

}  // namespace wuffel
