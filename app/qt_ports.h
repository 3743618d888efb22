// The platform services on Qt: precise interval timers, the three windows
// and the command menu, the error box, the question box, the desktop's
// opener, the times of day, the beep and the end of the message loop.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "game/timers.h"
#include "platform/interval_timer.h"
#include "platform/ports.h"

namespace wuffel {

class QtWindows : public WindowSystem {
 public:
  void setWindow(WindowId id, QWidget* widget) { windows_[static_cast<int>(id)] = widget; }
  // A window built only when first asked about: one that starts hidden need
  // not delay the first window on the screen.
  void setWindowMaker(WindowId id, std::function<std::unique_ptr<QWidget>()> make) {
    makers_[static_cast<int>(id)] = std::move(make);
  }
  void setMenuPopup(QMenu* menu) { menuPopup_ = menu; }
  void show(WindowId) override;
  void hide(WindowId) override;
  void bringToFront(WindowId) override;
  WindowPosition position(WindowId) const override;
  void moveTo(WindowId, WindowPosition) override;
  int screenWidth() const override;
  int screenHeight() const override;
  int windowWidth(WindowId) const override;
  int windowHeight(WindowId) const override;
  void popupMenu(int x, int y) override;

 private:
  QWidget* window(WindowId id) const;
  bool isOffScreen(WindowId id) const;
  mutable std::array<QWidget*, 3> windows_{};
  std::array<std::function<std::unique_ptr<QWidget>()>, 3> makers_;
  mutable std::array<std::unique_ptr<QWidget>, 3> made_;
  QMenu* menuPopup_ = nullptr;
  // A window shown while its place lies off the screen would still be seen
  // where the compositor places windows (Wayland) or the window manager pulls
  // them onto the screen (many on X11); it is mapped only once it is moved
  // onto the screen, and meanwhile counts as shown.
  std::array<bool, 3> shownOffScreen_{};
};

class QtErrorBox : public ErrorBox {
 public:
  void showError(const std::string& message) override;
  // The box showError runs, wide enough for window managers to show the
  // whole application title as its caption.
  static std::unique_ptr<QMessageBox> makeBox(const std::string& message);
};

// A modal box over the handheld, Yes by default and No on Esc.
class QtQuestionBox : public QuestionBox {
 public:
  void setOwner(QWidget* owner) { owner_ = owner; }
  void ask(const std::string& question, std::function<void(bool yes)> answered) override;
  std::unique_ptr<QMessageBox> makeBox(const std::string& question) const;

 private:
  QWidget* owner_ = nullptr;
};

class QtShell : public Shell {
 public:
  void open(const std::string& target) override;
  // What the desktop is asked to open for a target named the program's way.
  static QUrl urlOf(const std::string& target);
};

class QtBeep : public SystemBeep {
 public:
  void beep() override;
};

class QtMessageLoop : public MessageLoop {
 public:
  void quit() override;
};

}  // namespace wuffel
