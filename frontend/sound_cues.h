// Sounds made visible, for players who cannot hear them: while a sound
// plays, the speaker grille on the case glows, tinted by what the sound
// means. The glow lies on the case beside the panel, never on the
// liquid-crystal segments, so the game's own face stays as it is.
#pragma once

#include <cstdint>

#include "sound/channel.h"

namespace wuffel {

enum class SoundCue { None, Ball, Hit, Miss, GameOver, Chance };

// Where the grille's holes lie on the face, in face units.
struct GrillePlace {
  double centreX;
  double centreY;
  double radius;
};
inline constexpr GrillePlace kGrille{73.5, 158, 31};

// A tint, and how strongly it glows at the grille's middle (0 to 1).
struct CueTint {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  double strength;
};

// What the grille shows of the sounds playing now: the sound that tells
// the most wins (game over, then a miss, the chance, a hit, the ball).
SoundCue soundingCue(const SoundChannels& channels);
CueTint cueTint(SoundCue cue);

}  // namespace wuffel
