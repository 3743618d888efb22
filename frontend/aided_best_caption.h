// What the case says while a game button shows the best score of slower or
// assisted play, so that it is never taken for the original best.
#pragma once

#include <string>

#include "store/player_settings.h"

namespace wuffel {

// The baseline of words printed on the case, centred under the screen's
// frame between the frame and the lower screws, in face units.
inline constexpr double kCasePrintBaseline = 359;

inline std::string aidedBestCaption(const PlayerSettings& settings) {
  std::string caption = settings.assist() ? "ASSISTED BEST" : "BEST";
  if (settings.speed() != kOriginalSpeed) caption += " AT " + std::to_string(settings.speed()) + " %";
  return caption;
}

}  // namespace wuffel
