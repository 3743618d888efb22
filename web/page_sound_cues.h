// The speaker grille's cues on the page (frontend/sound_cues.h): looked at
// after every event the handheld handles, and while a cue shows about
// thirty times a second, since a sound ends by its own length with no event
// of the game's.
#pragma once

#include <functional>

#include "frontend/sound_cues.h"
#include "game/handheld.h"

namespace wuffel::web {

class PageSoundCues : public InputObserver {
 public:
  using Shown = std::function<void(SoundCue)>;
  PageSoundCues(const Handheld& handheld, const SoundChannels& channels, Shown shown)
      : handheld_(handheld), channels_(&channels), shown_(std::move(shown)) {}
  ~PageSoundCues() override;
  PageSoundCues(const PageSoundCues&) = delete;
  PageSoundCues& operator=(const PageSoundCues&) = delete;

  void look();
  // Shows these channels' sounds from now on: a replay's, or the handheld's again.
  void follow(const SoundChannels& channels) {
    channels_ = &channels;
    look();
  }
  void inputArrived(const Input&) override {}
  void eventHandled() override { look(); }

 private:
  const Handheld& handheld_;
  const SoundChannels* channels_;
  Shown shown_;
  long timer_ = 0;
};

}  // namespace wuffel::web
