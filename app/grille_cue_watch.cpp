#include "app/grille_cue_watch.h"

#include <utility>

namespace wuffel {

namespace {
constexpr int kLookEveryMs = 33;
}  // namespace

GrilleCueWatch::GrilleCueWatch(const SoundChannels& channels, Shown shown)
    : channels_(&channels), shown_(std::move(shown)) {
  timer_.setInterval(kLookEveryMs);
  QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
}

void GrilleCueWatch::setEnabled(bool on) {
  if (on) {
    timer_.start();
    return look();
  }
  timer_.stop();
  if (std::exchange(cue_, SoundCue::None) != SoundCue::None) shown_(SoundCue::None);
}

void GrilleCueWatch::look() {
  const SoundCue now = soundingCue(*channels_);
  if (now == cue_) return;
  cue_ = now;
  shown_(now);
}

}  // namespace wuffel
