// The menu key, or Shift+F10, on a window opens the command menu, as a
// right click on the face's middle does: the menu by keyboard alone.
#pragma once

#include <QObject>

namespace wuffel {

class Handheld;

class MenuKey : public QObject {
 public:
  MenuKey(QObject& window, Handheld& handheld);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Handheld& handheld_;
};

}  // namespace wuffel
