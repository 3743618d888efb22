#pragma once

#include <cstdint>

#include "sound/sound.h"

namespace wuffel {

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
  // DeviceFormatLoader); `fromFrame` counts its own frames.
  virtual void start(int voice, SoundPtr sound, std::int64_t fromFrame) = 0;
  virtual void stop(int voice) = 0;
  // Announces a sound that may be started later, so that the output can
  // get it ready beforehand. Returns at once.
  virtual void prepare(SoundPtr) {}
  // The amplitude every voice is mixed at, 0 (silent) to 1 (as recorded).
  // Returns at once, also before the output is ready.
  virtual void setGain(double) {}
};

// For runs without an audio device: channel positions come from the media
// clock, so nothing needs to be produced.
class SilentOutput : public AudioOutput {
 public:
  explicit SilentOutput(int sampleRate = 22050, int channels = 1)
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
