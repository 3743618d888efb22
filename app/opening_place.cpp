#include "app/opening_place.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <array>
#include <utility>

#include "app/face_view.h"
#include "app/panel_preview.h"
#include "face/elements.h"

namespace wuffel {

namespace {

// Between the dialog and the handheld, so that neither seems to lie on the other.
constexpr int kGap = 8;

QRect keptWithin(QRect place, const QRect& screen) {
  place.moveLeft(std::clamp(place.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - place.width())));
  place.moveTop(std::clamp(place.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - place.height())));
  return place;
}

qint64 covered(const QRect& a, const QRect& b) {
  const QRect both = a.intersected(b);
  return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

}  // namespace

HandheldOnScreen handheldOnScreen(QRect face) {
  const QRect glass = PanelPreview::area();
  const qreal scale = qreal(face.width()) / elementInfo(ElementId::Im_Base).width;
  const FaceView view{scale, QPointF(face.topLeft())};
  return {face, view.toWindow(glass)};
}

QPoint besideTheHandheld(QSize size, const HandheldOnScreen& handheld, QRect screen) {
  const QRect& face = handheld.face;
  QRect centred(QPoint(), size);
  centred.moveCenter(face.center());
  const int rightOf = face.right() + 1 + kGap, leftOf = face.left() - kGap - size.width();
  const int below = face.bottom() + 1 + kGap, above = face.top() - kGap - size.height();
  const std::array sides{QPoint(rightOf, centred.top()), QPoint(leftOf, centred.top()), QPoint(centred.left(), below),
                         QPoint(centred.left(), above)};
  for (const QPoint& side : sides) {
    // Slid along its side as far as the screen needs, never onto the face.
    const QRect place = keptWithin(QRect(side, size), screen);
    if (!place.intersects(face) && screen.contains(place)) return place.topLeft();
  }
  // No side has room: the sides and corners pushed onto the screen.
  const std::array candidates{sides[0], sides[1], sides[2], sides[3], QPoint(rightOf, below), QPoint(leftOf, below),
                              QPoint(rightOf, above), QPoint(leftOf, above)};
  const auto cost = [&handheld](const QRect& place) {
    return std::pair{covered(place, handheld.glass), covered(place, handheld.face)};
  };
  QRect best = keptWithin(QRect(candidates[0], size), screen);
  for (const QPoint& candidate : candidates) {
    const QRect place = keptWithin(QRect(candidate, size), screen);
    if (cost(place) < cost(best)) best = place;
  }
  return best.topLeft();
}

QPoint overTheHandheld(QSize size, const HandheldOnScreen& handheld, QRect screen) {
  QRect place(QPoint(), size);
  place.moveCenter(handheld.face.center());
  return keptWithin(place, screen).topLeft();
}

OpeningPlace::OpeningPlace(QWidget& dialog, std::function<QRect()> face, Rule rule)
    : QObject(&dialog), dialog_(dialog), face_(std::move(face)), rule_(rule) {
  dialog.installEventFilter(this);
}

bool OpeningPlace::eventFilter(QObject* watched, QEvent* event) {
  // Before the window is mapped: it appears in its place, with no jump.
  if (watched == &dialog_ && event->type() == QEvent::Show && !event->spontaneous()) place();
  return false;
}

void OpeningPlace::place() {
  const QRect face = face_();
  if (face == placedBeside_) return;
  placedBeside_ = face;
  const HandheldOnScreen handheld = handheldOnScreen(face);
  const QScreen* screen = QGuiApplication::screenAt(handheld.face.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect inner = dialog_.geometry(), outer = dialog_.frameGeometry();
  QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                 outer.bottom() - inner.bottom());
  // A window never shown has no frame yet: the window manager's title bar
  // and borders are reckoned at the style's measure.
  if (frame.isNull() && !dialog_.windowFlags().testFlag(Qt::FramelessWindowHint)) {
    const int border = dialog_.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &dialog_);
    const int title = dialog_.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &dialog_);
    frame = QMargins(border, title + border, border, border);
  }
  dialog_.adjustSize();
  dialog_.move(rule_(dialog_.size().grownBy(frame), handheld, screen->availableGeometry()));
}

}  // namespace wuffel
