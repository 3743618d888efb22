#include "app/captioned_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace wuffel {

namespace {

// The single border drawn around the caption bar and the client area.
constexpr int kBorder = 1;

}  // namespace

CaptionedWindow::CaptionedWindow(const QString& caption, QSize clientSize, CloseBox closeBox)
    : closeBox_(closeBox), client_(new QWidget(this)) {
  setWindowTitle(caption);
  // No frame from the window manager, so none of its buttons either.
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setMouseTracking(true);
  QStyleOptionTitleBar option;
  option.initFrom(this);
  option.titleBarFlags = Qt::Window | Qt::WindowTitleHint;
  captionHeight_ = style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, this);
  client_->setGeometry(kBorder, kBorder + captionHeight_, clientSize.width(), clientSize.height());
  setFixedSize(clientSize.width() + 2 * kBorder, clientSize.height() + captionHeight_ + 2 * kBorder);
}

QRect CaptionedWindow::captionRect() const { return {kBorder, kBorder, client_->width(), captionHeight_}; }

QRect CaptionedWindow::closeBoxRect() const {
  if (closeBox_ == CloseBox::None) return {};
  const QStyleOptionTitleBar option = captionOption();
  return style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarCloseButton, this);
}

// The styles draw a close box only beside a window menu; the menu's own
// icon is left out of the parts drawn.
QStyleOptionTitleBar CaptionedWindow::captionOption() const {
  QStyleOptionTitleBar option;
  option.initFrom(this);
  option.rect = captionRect();
  option.text = windowTitle();
  option.subControls = QStyle::SC_TitleBarLabel;
  option.titleBarFlags = Qt::Window | Qt::WindowTitleHint;
  if (closeBox_ == CloseBox::Shown) {
    option.subControls |= QStyle::SC_TitleBarCloseButton;
    option.titleBarFlags |= Qt::WindowSystemMenuHint;
  }
  option.activeSubControls = hovered_;
  if (closePressed_ && hovered_ == QStyle::SC_TitleBarCloseButton) option.state |= QStyle::State_Sunken;
  if (isActiveWindow()) {
    option.state |= QStyle::State_Active;
    option.titleBarState = QStyle::State_Active;
    option.palette.setCurrentColorGroup(QPalette::Active);
  } else {
    option.state &= ~QStyle::State_Active;
    option.palette.setCurrentColorGroup(QPalette::Inactive);
  }
  return option;
}

QStyle::SubControl CaptionedWindow::partAt(QPoint pos) const {
  if (closeBoxRect().contains(pos)) return QStyle::SC_TitleBarCloseButton;
  if (captionRect().contains(pos)) return QStyle::SC_TitleBarLabel;
  return QStyle::SC_None;
}

void CaptionedWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Shadow));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  const QStyleOptionTitleBar option = captionOption();
  style()->drawComplexControl(QStyle::CC_TitleBar, &option, &painter, this);
}

void CaptionedWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QStyle::SubControl part = partAt(event->position().toPoint());
  if (part == QStyle::SC_TitleBarCloseButton) {
    closePressed_ = true;
    update(captionRect());
  } else if (part == QStyle::SC_TitleBarLabel && !windowHandle()->startSystemMove()) {
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - pos();
  }
}

void CaptionedWindow::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) {
    move(event->globalPosition().toPoint() - dragOffset_);
    return;
  }
  const QStyle::SubControl part = partAt(event->position().toPoint());
  if (part != hovered_) {
    hovered_ = part;
    update(captionRect());
  }
}

void CaptionedWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  if (!closePressed_) return;
  closePressed_ = false;
  update(captionRect());
  if (partAt(event->position().toPoint()) == QStyle::SC_TitleBarCloseButton) close();
}

void CaptionedWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && closeBox_ == CloseBox::Shown) close();
  else QWidget::keyPressEvent(event);
}

void CaptionedWindow::leaveEvent(QEvent*) {
  hovered_ = QStyle::SC_None;
  update(captionRect());
}

void CaptionedWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowTitleChange)
    update(captionRect());
  QWidget::changeEvent(event);
}

}  // namespace wuffel
