// For players who have it remembered, the handheld opens where it was left:
// the place is stored when the program ends, and taken back when the window
// first comes onto the screen, kept on a screen that is there now.
#pragma once

#include <QObject>

#include <optional>

#include "store/player_settings_store.h"

class QWidget;

namespace wuffel {

class Handheld;

class WindowPlaceMemory : public QObject {
 public:
  WindowPlaceMemory(QWidget& window, Handheld& handheld, PlayerSettingsStore& store);
  // Stores where the window is now, if the player has that remembered.
  void keep();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  Handheld& handheld_;
  PlayerSettingsStore& store_;
  bool placed_ = false;
};

}  // namespace wuffel
