#include "sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

int Mixer::applyCommands() {
  std::size_t head = head_.load(std::memory_order_relaxed);
  const std::size_t tail = tail_.load(std::memory_order_acquire);
  int starts = 0;
  while (head != tail) {
    const Command& c = queue_[head];
    voices_[c.voice] = {c.sound, c.frame};
    if (c.sound) ++starts;
    head = (head + 1) % kQueueSize;
  }
  head_.store(head, std::memory_order_release);
  return starts;
}

void Mixer::mix(std::int16_t* out, std::size_t frames) {
  const int starts = applyCommands();
  const std::size_t samples = frames * static_cast<std::size_t>(channels_);
  int sounding = 0;
  // Sum per sample across voices in 32 bits, then clip once.
  constexpr std::size_t kBlock = 256;
  std::int32_t acc[kBlock];
  const std::int32_t gain = gain_.load(std::memory_order_relaxed);
  for (std::size_t done = 0; done < samples; done += kBlock) {
    const std::size_t n = std::min(kBlock, samples - done);
    std::fill(acc, acc + n, 0);
    for (Voice& v : voices_) {
      if (!v.sound) continue;
      // kBlock is even, so every block holds whole frames.
      const std::size_t total = v.sound->samples.size();
      const std::size_t pos = static_cast<std::size_t>(v.frame) * channels_;
      const std::size_t take = std::min(n, pos < total ? total - pos : 0);
      const std::int16_t* src = v.sound->samples.data() + pos;
      for (std::size_t k = 0; k < take; ++k) acc[k] += src[k];
      v.frame += static_cast<std::int64_t>(take / channels_);
      if (take < n) v.sound = nullptr;  // played to its end
    }
    if (gain != kUnityGain)
      for (std::size_t k = 0; k < n; ++k)
        acc[k] = static_cast<std::int32_t>((std::int64_t{acc[k]} * gain) >> 16);
    for (std::size_t k = 0; k < n; ++k)
      out[done + k] = static_cast<std::int16_t>(std::clamp<std::int32_t>(
          acc[k], std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
  }
  for (const Voice& v : voices_)
    if (v.sound) ++sounding;
  soundingVoices_.store(sounding, std::memory_order_release);
  if (starts > 0) startsMixed_.fetch_add(static_cast<std::uint64_t>(starts), std::memory_order_release);
}

bool Mixer::idle() const {
  return soundingVoices_.load(std::memory_order_acquire) == 0 &&
         head_.load(std::memory_order_acquire) == tail_.load(std::memory_order_acquire);
}

}  // namespace wuffel
