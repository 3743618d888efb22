#include "app/kept_on_screen.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace wuffel {

namespace {
qint64 shared(const QRect& a, const QRect& b) {
  const QRect both = a.intersected(b);
  return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

qint64 distance(const QRect& area, QPoint p) {
  const qint64 dx = std::max({area.left() - p.x(), 0, p.x() - area.right()});
  const qint64 dy = std::max({area.top() - p.y(), 0, p.y() - area.bottom()});
  return dx * dx + dy * dy;
}
}  // namespace

QRect keptOnAScreen(QRect place) {
  const auto screens = QGuiApplication::screens();
  if (screens.isEmpty()) return place;
  const QScreen* best = screens.front();
  for (const QScreen* s : screens) {
    const QRect area = s->availableGeometry(), bestArea = best->availableGeometry();
    const qint64 here = shared(area, place), there = shared(bestArea, place);
    if (here > there || (here == 0 && there == 0 && distance(area, place.center()) < distance(bestArea, place.center())))
      best = s;
  }
  const QRect area = best->availableGeometry();
  place.moveLeft(std::clamp(place.left(), area.left(), std::max(area.left(), area.right() + 1 - place.width())));
  place.moveTop(std::clamp(place.top(), area.top(), std::max(area.top(), area.bottom() + 1 - place.height())));
  return place;
}

}  // namespace wuffel
