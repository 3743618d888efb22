#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "sound/audio_output.h"

namespace wuffel {

// Sums the sounding voices into 16-bit samples. start/stop are called on the
// UI thread and only queue a fixed-size command; mix runs on the audio
// thread, applies the queued commands and never allocates or locks.
//
// Each voice keeps its place on the timeline of frames mixed so far, so that
// when the device drops the last frames it was given (to silence a stopped
// voice at once), unmix() lets every other voice play them again unchanged.
class Mixer : public AudioOutput {
 public:
  static constexpr int kMaxVoices = 8;

  Mixer(int sampleRate, int channels);

  int sampleRate() const override { return rate_; }
  int channelCount() const override { return channels_; }
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override;
  void setGain(double gain) override;

  // Audio thread: applies the queued commands, then fills `frames`
  // interleaved frames.
  void mix(std::int16_t* out, std::size_t frames);
  // Audio thread: applies the queued commands without mixing.
  void applyCommands();
  // Audio thread: true when a voice stopped since the last unmix() had
  // sound among the last `frames` frames mixed, which the device may still
  // be holding.
  bool stoppedSoundWithin(std::int64_t frames) const;
  // Audio thread: the last `frames` frames mixed never reached the
  // speaker; the voices still going play them again, and those stopped
  // since are gone from them.
  void unmix(std::int64_t frames);
  // Audio thread: `frames` frames went by with no device to hear them; the
  // voices move on as if they had been mixed.
  void pass(std::int64_t frames);
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
  // Sounds `sound` from its frame `from` while the mix is between
  // mixedFrom and mixedUntil (frames counted since the mixer began).
  struct Voice {
    const DecodedSound* sound = nullptr;
    std::int64_t from = 0;
    std::int64_t mixedFrom = 0;
    std::int64_t mixedUntil = 0;
  };
  static constexpr std::size_t kQueueSize = 256;
  static constexpr std::int64_t kNothingStopped = std::numeric_limits<std::int64_t>::min();

  void push(const Command& c);
  void countSounding();

  int rate_;
  int channels_;

  // Single producer (UI), single consumer (audio).
  std::array<Command, kQueueSize> queue_{};
  std::atomic<std::size_t> head_{0};  // written by the consumer
  std::atomic<std::size_t> tail_{0};  // written by the producer

  // Audio thread only.
  std::array<Voice, kMaxVoices> voices_{};
  std::int64_t mixed_ = 0;
  std::int64_t stoppedSoundUntil_ = kNothingStopped;  // in mixed frames
  std::uint64_t startsApplied_ = 0;

  std::atomic<int> soundingVoices_{0};
  std::atomic<std::uint64_t> startsMixed_{0};
  static constexpr std::int32_t kUnityGain = 1 << 16;
  std::atomic<std::int32_t> gain_{kUnityGain};  // in 1/65536ths

  // The audio thread holds raw pointers, so the UI side keeps every sound it
  // handed over alive; there are only a handful, loaded once each.
  std::vector<SoundPtr> retained_;
};

}  // namespace wuffel
