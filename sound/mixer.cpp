#include "sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/error.h"

namespace wuffel {

Mixer::Mixer(int sampleRate, int channels) : rate_(sampleRate), channels_(channels) {
  if (sampleRate <= 0 || channels < 1 || channels > 2)
    throw WuffelError("The sound output format is not usable");
}

void Mixer::push(const Command& c) {
  const std::size_t tail = tail_.load(std::memory_order_relaxed);
  const std::size_t next = (tail + 1) % kQueueSize;
  // Full only when the audio thread has stopped draining, and then nothing
  // is heard anyway: drop the request rather than block the UI.
  if (next == head_.load(std::memory_order_acquire)) return;
  queue_[tail] = c;
  tail_.store(next, std::memory_order_release);
}

void Mixer::start(int voice, SoundPtr sound, std::int64_t fromFrame) {
  if (voice < 0 || voice >= kMaxVoices || !sound) return;
  if (sound->sampleRate != rate_ || sound->channels != channels_) return;
  if (std::find(retained_.begin(), retained_.end(), sound) == retained_.end())
    retained_.push_back(sound);
  push({voice, sound.get(), std::max<std::int64_t>(0, fromFrame)});
}

void Mixer::stop(int voice) {
  if (voice < 0 || voice >= kMaxVoices) return;
  push({voice, nullptr, 0});
}

void Mixer::setGain(double gain) {
  gain_.store(static_cast<std::int32_t>(std::lround(std::clamp(gain, 0.0, 1.0) * kUnityGain)),
              std::memory_order_relaxed);
}

void Mixer::applyCommands() {
  std::size_t head = head_.load(std::memory_order_relaxed);
  const std::size_t tail = tail_.load(std::memory_order_acquire);
  while (head != tail) {
    const Command& c = queue_[head];
    Voice& v = voices_[c.voice];
    // Whatever the voice played before ends here, stopped or replaced.
    if (v.sound && v.mixedFrom < mixed_)
      stoppedSoundUntil_ = std::max(stoppedSoundUntil_, std::min(v.mixedUntil, mixed_));
    if (c.sound) {
      v = {c.sound, c.frame, mixed_, mixed_ + std::max<std::int64_t>(0, c.sound->frames() - c.frame)};
      ++startsApplied_;
    } else {
      v = {};
    }
    head = (head + 1) % kQueueSize;
  }
  head_.store(head, std::memory_order_release);
  countSounding();
}

void Mixer::mix(std::int16_t* out, std::size_t frames) {
  applyCommands();
  const std::size_t channels = static_cast<std::size_t>(channels_);
  // Sum per sample across voices in 32 bits, then clip once.
  constexpr std::size_t kBlockFrames = 128;
  std::int32_t acc[kBlockFrames * 2];
  const std::int32_t gain = gain_.load(std::memory_order_relaxed);
  for (std::size_t done = 0; done < frames; done += kBlockFrames) {
    const std::size_t n = std::min(kBlockFrames, frames - done);
    const std::int64_t at = mixed_ + static_cast<std::int64_t>(done);
    const std::int64_t end = at + static_cast<std::int64_t>(n);
    std::fill(acc, acc + n * channels, 0);
    for (const Voice& v : voices_) {
      if (!v.sound) continue;
      const std::int64_t from = std::max(v.mixedFrom, at);
      const std::int64_t until = std::min(v.mixedUntil, end);
      if (from >= until) continue;
      const std::int16_t* src =
          v.sound->samples.data() + static_cast<std::size_t>(v.from + from - v.mixedFrom) * channels;
      std::int32_t* dst = acc + static_cast<std::size_t>(from - at) * channels;
      const std::size_t take = static_cast<std::size_t>(until - from) * channels;
      for (std::size_t k = 0; k < take; ++k) dst[k] += src[k];
    }
    if (gain != kUnityGain)
      for (std::size_t k = 0; k < n * channels; ++k)
        acc[k] = static_cast<std::int32_t>((std::int64_t{acc[k]} * gain) >> 16);
    for (std::size_t k = 0; k < n * channels; ++k)
      out[done * channels + k] = static_cast<std::int16_t>(std::clamp<std::int32_t>(
          acc[k], std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
  }
  mixed_ += static_cast<std::int64_t>(frames);
  countSounding();
  if (startsApplied_ > 0)
    startsMixed_.fetch_add(std::exchange(startsApplied_, 0), std::memory_order_release);
}

bool Mixer::stoppedSoundWithin(std::int64_t frames) const {
  return stoppedSoundUntil_ > mixed_ - frames;
}

void Mixer::unmix(std::int64_t frames) {
  mixed_ -= std::clamp<std::int64_t>(frames, 0, mixed_);
  stoppedSoundUntil_ = kNothingStopped;
  countSounding();
}

void Mixer::pass(std::int64_t frames) {
  if (frames <= 0) return;
  mixed_ += frames;
  // Nothing of it is held anywhere, and the starts so far reached no device
  // with their first frames.
  stoppedSoundUntil_ = kNothingStopped;
  startsApplied_ = 0;
  countSounding();
}

void Mixer::countSounding() {
  int sounding = 0;
  for (const Voice& v : voices_)
    if (v.sound && v.mixedUntil > mixed_) ++sounding;
  soundingVoices_.store(sounding, std::memory_order_release);
}

bool Mixer::idle() const {
  return soundingVoices_.load(std::memory_order_acquire) == 0 &&
         head_.load(std::memory_order_acquire) == tail_.load(std::memory_order_acquire);
}

}  // namespace wuffel
