// Follows the sounds while the grille shows them: a sound ends by its own
// length, with no call from the game, so the channels are looked at about
// thirty times a second, and the window is told only when the cue changes.
#pragma once

#include <QTimer>

#include <functional>

#include "frontend/sound_cues.h"

namespace wuffel {

class GrilleCueWatch {
 public:
  using Shown = std::function<void(SoundCue)>;
  GrilleCueWatch(const SoundChannels& channels, Shown shown);

  void setEnabled(bool on);
  // Shows these channels' sounds from now on: a replay's, or the handheld's again.
  void follow(const SoundChannels& channels) {
    channels_ = &channels;
    if (timer_.isActive()) look();
  }

 private:
  void look();

  const SoundChannels* channels_;
  Shown shown_;
  QTimer timer_;
  SoundCue cue_ = SoundCue::None;
};

}  // namespace wuffel
