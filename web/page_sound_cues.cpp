#include "web/page_sound_cues.h"

#include <emscripten/html5.h>

namespace wuffel::web {

namespace {
constexpr double kLookEveryMs = 33;
}  // namespace

PageSoundCues::~PageSoundCues() {
  if (timer_) emscripten_clear_timeout(timer_);
}

void PageSoundCues::look() {
  const SoundCue cue = handheld_.settings().soundCues() ? soundingCue(*channels_) : SoundCue::None;
  shown_(cue);
  if (cue == SoundCue::None || timer_) return;
  timer_ = emscripten_set_timeout(
      [](void* self) {
        auto* cues = static_cast<PageSoundCues*>(self);
        cues->timer_ = 0;
        cues->look();
      },
      kLookEveryMs, this);
}

}  // namespace wuffel::web
