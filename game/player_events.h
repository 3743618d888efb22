// What the front end hears from the game about the player's side of it.
#pragma once

#include "store/player_settings.h"

namespace wuffel {

class PlayerEvents {
 public:
  virtual ~PlayerEvents() = default;
  // A game was paused or resumed.
  virtual void pauseChanged(bool /*paused*/) {}
  // A setting took `value` (from within the game, as M does, or through
  // Handheld::changeSetting); `saved` is false when the store refused it.
  virtual void settingChanged(Setting, int /*value*/, bool /*saved*/) {}
  // The player asked for the settings dialog.
  virtual void settingsRequested() {}
  // A game button held shows the best score of slower or assisted play
  // (true), until it is let go or the display is reset (false).
  virtual void aidedBestShown(bool /*shown*/) {}
};

}  // namespace wuffel
