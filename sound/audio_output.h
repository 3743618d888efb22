#pragma once

#include <chrono>
#include <cstdint>

#include "sound/sound.h"

namespace wuffel {

using Deadline = std::chrono::steady_clock::time_point;
// What a destructor gives shutDown() when it was not called before.
inline constexpr std::chrono::milliseconds kShutDownWaitByDefault{50};

// The format of an output without a device.
inline constexpr int kSilentRate = 22050;
inline constexpr int kSilentChannels = 1;

// Where the channels send their voices. Called on the UI thread only; an
// implementation that plays on another thread hands the requests over
// without blocking.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  virtual int sampleRate() const = 0;
  virtual int channelCount() const = 0;
  // Starts `voice` sounding `sound` from `fromFrame` to its end, replacing
  // whatever that voice played before.
  // `sound` may come in another format than the output's (see
  // OwnFormatLoader); `fromFrame` counts its own frames.
  virtual void start(int voice, SoundPtr sound, std::int64_t fromFrame) = 0;
  virtual void stop(int voice) = 0;
  // Announces a sound that may be started later, so that the output can
  // get it ready beforehand. Returns at once.
  virtual void prepare(SoundPtr) {}
  // The amplitude every voice is mixed at, 0 (silent) to 1 (as recorded).
  // Returns at once, also before the output is ready.
  virtual void setGain(double) {}
  // Voices started from now on play slower, at `percent` of their pace
  // (100 as recorded), lasting 100 / percent times as long; `fromFrame`
  // still counts the sound's own frames.
  virtual void setSpeed(int /*percent*/) {}
  // Lets go of the device by `deadline`. False when a part of it did not
  // answer in time (a sound server that hangs) and was left running on its
  // own, never to be freed: the process should then end without running
  // its static destructors, which that part may still be using.
  virtual bool shutDown(Deadline) { return true; }
};

// For runs without an audio device: channel positions come from the media
// clock, so nothing needs to be produced.
class SilentOutput : public AudioOutput {
 public:
  explicit SilentOutput(int sampleRate = kSilentRate, int channels = kSilentChannels)
      : rate_(sampleRate), channels_(channels) {}
  int sampleRate() const override { return rate_; }
  int channelCount() const override { return channels_; }
  void start(int, SoundPtr, std::int64_t) override {}
  void stop(int) override {}

 private:
  int rate_;
  int channels_;
};

}  // namespace wuffel
