#include "app/main_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWindow>

#include "app/face_renderer.h"
#include "app/qt_text.h"
#include "game/handheld.h"

namespace wuffel {

namespace {
std::optional<MouseButton> buttonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return std::nullopt;
  }
}

MouseButtons heldOf(Qt::MouseButtons b) {
  return {b.testFlag(Qt::LeftButton), b.testFlag(Qt::RightButton), b.testFlag(Qt::MiddleButton)};
}

const ButtonHint* hintOf(ElementId id) {
  for (const auto& h : kButtonHints)
    if (h.id == id) return &h;
  return nullptr;
}

bool onWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }
}  // namespace

VirtualKey virtualKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Control: return VirtualKey::Ctrl;  // either one
    case Qt::Key_Up: return VirtualKey::Up;
    case Qt::Key_Down: return VirtualKey::Down;
    case Qt::Key_Escape: return VirtualKey::Escape;
    case Qt::Key_F1: return VirtualKey::F1;
    case Qt::Key_F2: return VirtualKey::F2;
    case Qt::Key_F3: return VirtualKey::F3;
    case Qt::Key_F4: return VirtualKey::F4;
    default: return kOtherKey;
  }
}

TForm1::TForm1(const FacePictures& pictures) : pictures_(pictures) {
  const auto& base = elementInfo(ElementId::Im_Base);
  setWindowTitle(qtText(kApplicationTitle));
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setFixedSize(base.width, base.height);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The desktop shows around the rounded case: X11 cuts the window to the
  // mask; a Wayland compositor takes the see-through corners the photograph
  // leaves, and the mask keeps clicks there away from the handheld.
  if (onWayland()) setAttribute(Qt::WA_TranslucentBackground);
  setMask(pictures.caseOutline());
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  move(kMainWindowCreatedAt.left, kMainWindowCreatedAt.top);
}

void TForm1::attach(Handheld* handheld) {
  handheld_ = handheld;
  handheld_->observeFace(this);
}

void TForm1::visibilityChanged(ElementId id, bool) { update(drawnArea(id)); }

void TForm1::pictureChanged(ElementId id, std::optional<ElementId>) { update(drawnArea(id)); }

void TForm1::paintEvent(QPaintEvent* event) {
  if (!handheld_) return;
  QPainter painter(this);
  for (const QRect& r : event->region()) {
    painter.setClipRect(r);
    paintFace(painter, handheld_->faceState(), pictures_, r);
  }
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  const auto button = buttonOf(event->button());
  if (!handheld_ || !button) return;
  const QPoint p = event->position().toPoint();
  const auto target = handheld_->mouseTarget(p.x(), p.y());
  handheld_->mousePress(p.x(), p.y(), *button);
  // Wayland lets no client place its own window: the compositor moves it.
  if (onWayland() && *button == MouseButton::Left && target &&
      (*target == ElementId::Im_Base || *target == ElementId::Im_BaseTop) && windowHandle()) {
    windowHandle()->startSystemMove();
    handheld_->mouseRelease(p.x(), p.y(), MouseButton::Left);
  }
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  updatePointer(p);
  if (handheld_ && event->buttons() != Qt::NoButton) handheld_->mouseMove(p.x(), p.y(), heldOf(event->buttons()));
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = buttonOf(event->button());
  if (!handheld_ || !button) return;
  const QPoint p = event->position().toPoint();
  handheld_->mouseRelease(p.x(), p.y(), *button);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  if (handheld_) handheld_->keyDown(virtualKeyOf(event->key()));
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
  // X11 reports auto-repeat as release-press pairs; the game expects only
  // further presses while a key is held.
  if (event->isAutoRepeat()) return;
  if (handheld_) handheld_->keyUp(virtualKeyOf(event->key()));
}

bool TForm1::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && handheld_) {
    auto* help = static_cast<QHelpEvent*>(event);
    const auto id = handheld_->faceState().elementAt(help->pos().x(), help->pos().y());
    const ButtonHint* hint = id ? hintOf(*id) : nullptr;
    if (hint)
      QToolTip::showText(help->globalPos(), qtText(hint->hint), this);
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(event);
}

void TForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && handheld_) handheld_->activateMainWindow();
  QWidget::changeEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  QApplication::quit();
}

void TForm1::updatePointer(const QPoint& at) {
  if (!handheld_) return;
  const auto id = handheld_->faceState().elementAt(at.x(), at.y());
  const ButtonHint* hint = id ? hintOf(*id) : nullptr;
  const Qt::CursorShape shape = !hint                                 ? Qt::ArrowCursor
                                : hint->pointer == PointerShape::Hand ? Qt::PointingHandCursor
                                                                      : Qt::WhatsThisCursor;
  if (cursor().shape() != shape) setCursor(shape);
}

}  // namespace wuffel
