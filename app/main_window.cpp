#include "app/main_window.h"

#include <QApplication>
#include <QBitmap>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QTouchEvent>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>

#include "app/desktop_compositor.h"
#include "app/face_renderer.h"
#include "app/input_codes.h"
#include "app/kept_on_screen.h"
#include "app/qt_text.h"
#include "frontend/face_pointing.h"
#include "game/handheld.h"

namespace wuffel {

namespace {
bool onWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

// The crystal whose darkness the face shows in one piece: an electrode of
// segments, or a digit position.
bool fadesAsOne(const ElementInfo& e) {
  return (e.kind == ElementKind::Segment && electrodeOf(e.id) == e.id) || e.kind == ElementKind::DigitPosition;
}

const QString kTitle = qtText(kApplicationTitle);
const QColor kFullScreenBackground = Qt::black;
constexpr int kWheelStep = 120;  // one notch of a mouse wheel, in eighths of a degree

QSize faceSize() {
  const auto& base = elementInfo(ElementId::Im_Base);
  return {base.width, base.height};
}

// The case's outline at `view`: made from the face-unit outline one face
// unit at a time, as the photograph's corners are.
QRegion outlineAt(const QRegion& outline, const FaceView& view) {
  if (outline.isEmpty()) return {};
  QBitmap bits(faceSize());
  bits.fill(Qt::color0);
  QPainter painter(&bits);
  painter.setClipRegion(outline);
  painter.fillRect(bits.rect(), Qt::color1);
  painter.end();
  const QSize size = view.toWindow(QRect(QPoint(), faceSize())).size();
  const QImage scaled = bits.toImage().scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return QRegion(QBitmap::fromImage(scaled.convertToFormat(QImage::Format_Mono)))
      .translated(view.origin.toPoint());
}
}  // namespace

TForm1::TForm1(const FacePictures& pictures) : pictures_(pictures), caseOutline_(pictures.caseOutline()) {
  setWindowTitle(kTitle);
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setFixedSize(faceSize());
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The desktop shows around the rounded case. A compositor (always there on
  // Wayland) blends the case's soft edge and shadow with it, and the outline
  // only keeps clicks beside the handheld away from it; without one, X11
  // cuts the window to the outline.
  if (compositorBlendsWindows()) {
    setAttribute(Qt::WA_TranslucentBackground);
    edges_ = CaseEdges::Soft;
  } else {
    setMask(caseOutline_);
  }
  outlineInWindow_ = caseOutline_;
  setAttribute(Qt::WA_AcceptTouchEvents);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  move(kMainWindowCreatedAt.left, kMainWindowCreatedAt.top);
  fadeFrames_.setTimerType(Qt::PreciseTimer);
  connect(&fadeFrames_, &QTimer::timeout, this, [this] { nextFadeFrame(); });
}

void TForm1::attach(Handheld* handheld) {
  handheld_ = handheld;
  buttonTouches_.emplace(*handheld);
  handheld_->observeFace(this);
  fade_.settle(face());
}

const Face& TForm1::face() const { return shownFace_ ? *shownFace_ : handheld_->faceState(); }

void TForm1::showFace(const Face* face) {
  shownFace_ = face;
  fade_.settle(this->face());
  update();
}

void TForm1::setPanelLook(const PanelLook& look) {
  const PanelLook next = look.clamped();
  if (next == look_) return;
  if (next.fade && !look_.fade && handheld_) fade_.settle(face());
  if (!next.fade) fadeFrames_.stop();
  look_ = next;
  update();
}

void TForm1::visibilityChanged(ElementId id, bool) { changed(id); }

void TForm1::pictureChanged(ElementId id, std::optional<ElementId>) { changed(id); }

void TForm1::changed(ElementId id) {
  if (look_.fade && handheld_) {
    const auto now = CrystalFade::Clock::now();
    fade_.follow(face(), id, now);
    if (!fadeFrames_.isActive() && fade_.restsAt(id) > now) {
      lastFadeFrame_ = now;
      const qreal hertz = screen() ? screen()->refreshRate() : 60;
      fadeFrames_.start(std::clamp(qRound(1000 / hertz), 4, 33));
    }
  }
  update(view_.toWindow(drawnArea(id)));
}

void TForm1::nextFadeFrame() {
  const auto now = CrystalFade::Clock::now();
  QRegion area;
  bool fading = false;
  for (const auto& e : kElements) {
    if (!fadesAsOne(e)) continue;
    const auto restsAt = fade_.restsAt(e.id);
    // Drawn once more after it comes to rest, to show it at rest.
    if (restsAt <= lastFadeFrame_) continue;
    area += view_.toWindow(drawnArea(e.id));
    fading = fading || restsAt > now;
  }
  lastFadeFrame_ = now;
  update(area);
  if (!fading) fadeFrames_.stop();
}

void TForm1::paintEvent(QPaintEvent* event) {
  if (!handheld_) return;
  const FaceLook look{view_, look_, edges_, look_.fade ? &fade_ : nullptr, CrystalFade::Clock::now(), paused_};
  QPainter painter(this);
  for (const QRect& r : event->region()) {
    painter.setClipRect(r);
    if (isFullScreen()) {
      painter.fillRect(r, kFullScreenBackground);
      // The case's see-through corners leave the background as it is.
      painter.setClipRegion(outlineInWindow_.intersected(r));
    }
    paintFace(painter, face(), pictures_, view_.toFace(r), look);
  }
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The native window exists now, and is not yet on the screen.
  if (edges_ == CaseEdges::Soft) limitClicksTo(*this, isFullScreen() ? QRegion(rect()) : outlineInWindow_);
}

void TForm1::setZoom(int percent) {
  if (percent == zoom_) return;
  zoom_ = percent;
  placeFace();
}

void TForm1::toggleFullScreen() {
  if (isFullScreen()) {
    showNormal();
  } else {
    // A fixed size would keep the window from filling the screen.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (edges_ == CaseEdges::Cut) clearMask();
    showFullScreen();
  }
  placeFace();
}

QRect TForm1::faceOnScreen() const {
  return view_.toWindow(QRect(QPoint(), faceSize())).translated(mapToGlobal(QPoint()));
}

void TForm1::setPaused(bool paused) {
  setWindowTitle(paused ? kTitle + QStringLiteral(" (paused)") : kTitle);
  paused_ = paused;
  update();
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isFullScreen()) placeFace();
}

// The largest zoom step up to `asked` that the screen holds.
int TForm1::fittingZoom(int asked) const {
  const QSize face = faceSize();
  const QSize room = (screen() ? screen() : QGuiApplication::primaryScreen())->availableGeometry().size();
  int zoom = kZoomSteps.front();
  for (int step : kZoomSteps)
    if (step <= asked && face.width() * step / 100 <= room.width() && face.height() * step / 100 <= room.height())
      zoom = step;
  return zoom;
}

void TForm1::placeFace() {
  const QSize face = faceSize();
  FaceView view;
  if (isFullScreen()) {
    view.scale = std::min(qreal(width()) / face.width(), qreal(height()) / face.height());
    view.origin = QPointF((width() - face.width() * view.scale) / 2, (height() - face.height() * view.scale) / 2);
  } else {
    shownZoom_ = fittingZoom(zoom_);
    view.scale = shownZoom_ / 100.0;
  }
  const bool changed = view.scale != view_.scale || view.origin != view_.origin;
  // The pictures of the scale left go; those of the new one are made when it is drawn.
  if (view.scale != view_.scale) pictures_.release(devicePixelRatioF() * view_.scale);
  view_ = view;
  outlineInWindow_ = outlineAt(caseOutline_, view_);
  if (!isFullScreen()) {
    // The handheld grows and shrinks about its middle, and stays on the screen.
    const QSize size = view_.toWindow(QRect(QPoint(), face)).size();
    const QRect before = geometry();
    QRect place(QPoint(), size);
    place.moveCenter(before.center());
    setFixedSize(size);
    if (edges_ == CaseEdges::Cut) setMask(outlineInWindow_);
    if (size != before.size() && isVisible()) move(keptOnAScreen(place).topLeft());
    // Not on the screen yet: it grows up and left, and stays off it.
    if (size != before.size() && !isVisible()) move(before.bottomRight() - QPoint(size.width() - 1, size.height() - 1));
  }
  if (edges_ == CaseEdges::Soft && testAttribute(Qt::WA_WState_Created))
    limitClicksTo(*this, isFullScreen() ? QRegion(rect()) : outlineInWindow_);
  if (changed) update();
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  const auto button = buttonOf(event->button());
  if (!handheld_ || !button) return;
  const QPoint p = view_.toFace(event->position());
  const auto target = handheld_->mouseTarget(p.x(), p.y());
  handheld_->mousePress(p.x(), p.y(), *button);
  const bool onFace = target && (*target == ElementId::Im_Base || *target == ElementId::Im_BaseTop);
  if (!onWayland() && *button == MouseButton::Left && onFace && (view_.scale != 1 || isFullScreen())) {
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - pos();
  }
  // Wayland lets no client place its own window: the compositor moves it.
  if (onWayland() && *button == MouseButton::Left && target &&
      (*target == ElementId::Im_Base || *target == ElementId::Im_BaseTop) && windowHandle()) {
    windowHandle()->startSystemMove();
    handheld_->mouseRelease(p.x(), p.y(), MouseButton::Left);
  }
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = view_.toFace(event->position());
  updatePointer(p);
  if (dragging_) {
    if (!isFullScreen()) move(event->globalPosition().toPoint() - dragOffset_);
    return;
  }
  if (handheld_ && event->buttons() != Qt::NoButton) handheld_->mouseMove(p.x(), p.y(), heldOf(event->buttons()));
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = buttonOf(event->button());
  if (!handheld_ || !button) return;
  if (*button == MouseButton::Left) dragging_ = false;
  const QPoint p = view_.toFace(event->position());
  handheld_->mouseRelease(p.x(), p.y(), *button);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  if (takeWindowKey(*event)) return;
  if (handheld_) handheld_->keyDown(virtualKeyOf(event->key()));
}

// The window's own keys: F11 for full screen, and Esc to leave it, as in
// every desktop program; Ctrl with Plus, Minus or 0 for the zoom.
bool TForm1::isWindowKey(const QKeyEvent& event) {
  if (event.key() == Qt::Key_F11) return true;
  if (!event.modifiers().testFlag(Qt::ControlModifier)) return false;
  const int key = event.key();
  return key == Qt::Key_Plus || key == Qt::Key_Equal || key == Qt::Key_Minus || key == Qt::Key_0;
}

bool TForm1::takeWindowKey(const QKeyEvent& event) {
  if (event.key() == Qt::Key_F11 || (event.key() == Qt::Key_Escape && isFullScreen())) {
    if (!event.isAutoRepeat()) toggleFullScreen();
    return true;
  }
  if (!isWindowKey(event)) return false;
  switch (event.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomBy(+1); return true;
    case Qt::Key_Minus: zoomBy(-1); return true;
    case Qt::Key_0: zoomTo(settingInfo(Setting::Zoom).defaultValue); return true;
    default: return false;
  }
}

// From the size shown, and no larger than the screen holds.
void TForm1::zoomBy(int direction) {
  const int zoom = nextZoom(shownZoom_, direction);
  if (fittingZoom(zoom) == zoom) zoomTo(zoom);
}

// The window takes its new size at once; the setting is stored after it.
void TForm1::zoomTo(int percent) {
  setZoom(percent);
  if (handheld_) handheld_->changeSetting(Setting::Zoom, percent);
}

void TForm1::wheelEvent(QWheelEvent* event) {
  if (!event->modifiers().testFlag(Qt::ControlModifier)) return QWidget::wheelEvent(event);
  wheelSteps_ += event->angleDelta().y();
  for (; wheelSteps_ >= kWheelStep; wheelSteps_ -= kWheelStep) zoomBy(+1);
  for (; wheelSteps_ <= -kWheelStep; wheelSteps_ += kWheelStep) zoomBy(-1);
  event->accept();
}

// A finger on HIT, UP or DOWN holds that button while it stays down; a
// touch that starts elsewhere comes as the mouse.
bool TForm1::touch(QTouchEvent* event) {
  if (!buttonTouches_) {
    event->ignore();
    return false;
  }
  for (const QEventPoint& point : event->points()) {
    if (point.state() == QEventPoint::Pressed) {
      const QPoint p = view_.toFace(point.position());
      buttonTouches_->start(point.id(), p.x(), p.y());
    } else if (point.state() == QEventPoint::Released || event->type() == QEvent::TouchCancel) {
      buttonTouches_->end(point.id());
    }
  }
  if (event->type() == QEvent::TouchBegin && !buttonTouches_->holdsAny()) {
    event->ignore();
    return false;
  }
  event->accept();
  return true;
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
  // X11 reports auto-repeat as release-press pairs; the game expects only
  // further presses while a key is held.
  if (event->isAutoRepeat()) return;
  if (handheld_) handheld_->keyUp(virtualKeyOf(event->key()));
}

bool TForm1::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel: return touch(static_cast<QTouchEvent*>(event));
    default: break;
  }
  if (event->type() == QEvent::ToolTip && handheld_) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QPoint at = view_.toFace(help->pos());
    if (const ButtonHint* hint = hintAt(face(), at.x(), at.y()))
      QToolTip::showText(help->globalPos(), qtText(hint->hint), this);
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(event);
}

void TForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && handheld_) handheld_->activateMainWindow();
  // Full screen left or entered by the window manager's own means.
  if (event->type() == QEvent::WindowStateChange) placeFace();
  QWidget::changeEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  QApplication::quit();
}

void TForm1::updatePointer(const QPoint& at) {
  if (!handheld_) return;
  const ButtonHint* hint = hintAt(face(), at.x(), at.y());
  const Qt::CursorShape shape = !hint                                 ? Qt::ArrowCursor
                                : hint->pointer == PointerShape::Hand ? Qt::PointingHandCursor
                                                                      : Qt::WhatsThisCursor;
  if (cursor().shape() != shape) setCursor(shape);
}

}  // namespace wuffel
