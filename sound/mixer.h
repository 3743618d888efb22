#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/audio_output.h"

namespace wuffel {

// Sums the sounding voices into 16-bit samples. start/stop are called on the
// UI thread and only queue a fixed-size command; mix runs on the audio
// thread, applies the queued commands and never allocates or locks.
class Mixer : public AudioOutput {
 public:
  static constexpr int kMaxVoices = 8;

  Mixer(int sampleRate, int channels);

  int sampleRate() const override { return rate_; }
  int channelCount() const override { return channels_; }
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override;
  void setGain(double gain) override;

  // Audio thread: fills `frames` interleaved frames.
  void mix(std::int16_t* out, std::size_t frames);
  // Audio thread: true when nothing sounds and nothing is queued, so the
  // feeder may stop writing.
  bool idle() const;
  // Any thread: how many start requests have been mixed so far. It moves
  // when mix() returns with the sound's first frames in its buffer, so a
  // caller can tell when a cue got through.
  std::uint64_t startsMixed() const { return startsMixed_.load(std::memory_order_acquire); }

 private:
  struct Command {
    int voice = 0;
    const DecodedSound* sound = nullptr;  // null: stop
    std::int64_t frame = 0;
  };
  struct Voice {
    const DecodedSound* sound = nullptr;
    std::int64_t frame = 0;
  };
  static constexpr std::size_t kQueueSize = 256;

  void push(const Command& c);
  int applyCommands();  // returns how many were starts

  int rate_;
  int channels_;

  // Single producer (UI), single consumer (audio).
  std::array<Command, kQueueSize> queue_{};
  std::atomic<std::size_t> head_{0};  // written by the consumer
  std::atomic<std::size_t> tail_{0};  // written by the producer

  std::array<Voice, kMaxVoices> voices_{};  // audio thread only
  std::atomic<int> soundingVoices_{0};
  std::atomic<std::uint64_t> startsMixed_{0};
  static constexpr std::int32_t kUnityGain = 1 << 16;
  std::atomic<std::int32_t> gain_{kUnityGain};  // in 1/65536ths

  // The audio thread holds raw pointers, so the UI side keeps every sound it
  // handed over alive; there are only a handful, loaded once each.
  std::vector<SoundPtr> retained_;
};

}  // namespace wuffel
