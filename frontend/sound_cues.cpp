#include "frontend/sound_cues.h"

#include <array>
#include <utility>

namespace wuffel {

namespace {
// In the order they win over each other.
constexpr std::array<std::pair<ChannelId, SoundCue>, kChannelCount> kCueOfChannel{{
    {ChannelId::MPlayerOver, SoundCue::GameOver},
    {ChannelId::MPlayerMiss, SoundCue::Miss},
    {ChannelId::MPlayerChance, SoundCue::Chance},
    {ChannelId::MPlayerHit, SoundCue::Hit},
    {ChannelId::MPlayerBack, SoundCue::Ball},
    {ChannelId::MPlayerBall, SoundCue::Ball},
}};
}  // namespace

SoundCue soundingCue(const SoundChannels& channels) {
  for (const auto& [channel, cue] : kCueOfChannel)
    if (channels[channel].isSounding()) return cue;
  return SoundCue::None;
}

// Tints far apart in hue and in lightness, so that they tell apart also
// for players who see few colours; the ball's is the faintest, being the
// most frequent.
CueTint cueTint(SoundCue cue) {
  switch (cue) {
    case SoundCue::None: return {0, 0, 0, 0};
    case SoundCue::Ball: return {255, 244, 214, 0.45};
    case SoundCue::Hit: return {90, 255, 120, 0.9};
    case SoundCue::Miss: return {255, 150, 30, 0.95};
    case SoundCue::GameOver: return {120, 170, 255, 1.0};
    case SoundCue::Chance: return {255, 240, 60, 1.0};
  }
  return {0, 0, 0, 0};
}

}  // namespace wuffel
