// A top-level window that draws its own single border and caption bar.
//
// Window managers decide for themselves which buttons a title bar they draw
// carries: openbox puts its window menu, a minimise box and a close box on
// every one, whatever the window asks for, and KDE's keeps its window menu.
// A window that must show no button, or the close box alone, therefore asks
// for no frame at all and draws its caption itself, the same everywhere.
#pragma once

#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QWidget>

namespace wuffel {

class CaptionedWindow : public QWidget {
 public:
  enum class CloseBox { None, Shown };

  CaptionedWindow(const QString& caption, QSize clientSize, CloseBox closeBox);

  // The area below the caption, of the size given, where the window's
  // elements go.
  QWidget* client() const { return client_; }

  // The caption bar, in the window's coordinates.
  QRect captionRect() const;
  // The close box, or an empty rectangle where there is none.
  QRect closeBoxRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  // Esc closes a window with a close box, as the box does.
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QStyleOptionTitleBar captionOption() const;
  QStyle::SubControl partAt(QPoint pos) const;

  CloseBox closeBox_;
  QWidget* client_;
  int captionHeight_;
  QStyle::SubControl hovered_ = QStyle::SC_None;
  bool closePressed_ = false;
  // Set while the window follows the mouse itself, where the window system
  // cannot move it (no window manager, or one without that request).
  bool dragging_ = false;
  QPoint dragOffset_;
};

}  // namespace wuffel
