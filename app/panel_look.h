// How the liquid-crystal panel looks. The defaults are the original's: unlit
// segments invisible, lit ones at full darkness, switching at once.
#pragma once

#include <algorithm>

#include "store/player_settings.h"

namespace wuffel {

struct PanelLook {
  static constexpr int kMaxGhosts = settingInfo(Setting::Ghosts).high;
  static constexpr int kMinContrast = settingInfo(Setting::Contrast).low;
  static constexpr int kFullContrast = settingInfo(Setting::Contrast).high;

  // Unlit segments drawn at this percent of a lit segment's darkness, so that
  // the player sees where every figure can appear.
  int ghosts = 0;
  // How dark a lit segment is against the glass, in percent of the darkest;
  // its shadow follows.
  int contrast = kFullContrast;
  // Segments darken and clear over tens of milliseconds, as twisted-nematic
  // crystal does, instead of switching at once.
  bool fade = false;

  // The look the player chose.
  static PanelLook of(const PlayerSettings& s) { return {s.ghosts(), s.contrast(), s.fade()}; }

  PanelLook clamped() const {
    return {std::clamp(ghosts, 0, kMaxGhosts), std::clamp(contrast, kMinContrast, kFullContrast), fade};
  }
  bool operator==(const PanelLook&) const = default;
};

}  // namespace wuffel
