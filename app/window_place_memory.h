// For players who have it remembered, the handheld opens where it was left:
// its place is stored once it has stayed put a moment after moving, and
// taken back when the window first comes onto the screen, kept on a screen
// that is there now.
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

namespace wuffel {

class Handheld;

class WindowPlaceMemory : public QObject {
 public:
  // `notSaved` hears of a place the store refused.
  // The place is kept by the handheld's own settings store.
  WindowPlaceMemory(QWidget& window, Handheld& handheld, std::function<void()> notSaved = [] {});
  // Stores a place not stored yet; at the end of the program.
  void keep();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void storePlace();

  QWidget& window_;
  Handheld& handheld_;
  std::function<void()> notSaved_;
  bool placed_ = false;
  // A drag moves the window many times; the place is written once it rests.
  QTimer resting_;
};

}  // namespace wuffel
