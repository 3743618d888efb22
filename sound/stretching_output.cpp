#include "sound/stretching_output.h"

#include "sound/sound_conversion.h"

namespace wuffel {

SoundPtr stretchSound(const DecodedSound& sound, int percent) {
  auto out = std::make_shared<DecodedSound>();
  if (sound.sampleRate > 0 && !sound.samples.empty()) {
    // Resampled to a higher rate and then played at the old one.
    const SoundPtr slower = convertSound(sound, sound.sampleRate * 100 / percent, sound.channels);
    out->samples = slower->samples;
  }
  out->sampleRate = sound.sampleRate;
  out->channels = sound.channels;
  out->lengthMs = sound.lengthMs * 100 / percent;
  return out;
}

SoundPtr StretchingOutput::stretched(const SoundPtr& sound) {
  auto& copy = copies_[{sound.get(), percent_}];
  if (!copy) {
    copy = stretchSound(*sound, percent_);
    inner_.prepare(copy);
  }
  return copy;
}

void StretchingOutput::start(int voice, SoundPtr sound, std::int64_t fromFrame) {
  if (!sound || percent_ == 100) return inner_.start(voice, std::move(sound), fromFrame);
  inner_.start(voice, stretched(sound), fromFrame * 100 / percent_);
}

void StretchingOutput::prepare(SoundPtr sound) {
  known_.push_back(sound);
  inner_.prepare(sound);
  if (percent_ != 100) stretched(sound);
}

// The copies are made here, ahead of their first play.
void StretchingOutput::setSpeed(int percent) {
  percent_ = percent;
  if (percent_ == 100) return;
  for (const auto& sound : known_) stretched(sound);
}

}  // namespace wuffel
