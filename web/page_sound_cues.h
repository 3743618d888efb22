// The speaker grille's cues on the page (frontend/sound_cues.h): looked at
// after every event, and while a cue shows about thirty times a second,
// since a sound ends by its own length with no event of the game's.
#pragma once

#include "frontend/sound_cues.h"
#include "game/handheld.h"
#include "web/canvas_face.h"

namespace wuffel::web {

class PageSoundCues {
 public:
  PageSoundCues(const Handheld& handheld, const SoundChannels& channels, CanvasFace& canvas)
      : handheld_(handheld), channels_(channels), canvas_(canvas) {}
  ~PageSoundCues();
  PageSoundCues(const PageSoundCues&) = delete;
  PageSoundCues& operator=(const PageSoundCues&) = delete;

  void look();

 private:
  const Handheld& handheld_;
  const SoundChannels& channels_;
  CanvasFace& canvas_;
  long timer_ = 0;
};

}  // namespace wuffel::web
