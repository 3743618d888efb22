// An output that plays every voice slower by the game's speed: each sound
// is resampled once to last longer at the same rate (so it also sounds
// lower), and a voice starts at the matching frame of that longer copy.
// The channels keep positions in the sound's own time (SoundChannel).
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "sound/audio_output.h"

namespace wuffel {

// `sound` lasting 100 / percent times as long at its own rate.
SoundPtr stretchSound(const DecodedSound& sound, int percent);

class StretchingOutput : public AudioOutput {
 public:
  explicit StretchingOutput(AudioOutput& inner) : inner_(inner) {}

  int sampleRate() const override { return inner_.sampleRate(); }
  int channelCount() const override { return inner_.channelCount(); }
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override { inner_.stop(voice); }
  void prepare(SoundPtr sound) override;
  void setGain(double gain) override { inner_.setGain(gain); }
  void setSpeed(int percent) override;
  bool shutDown(Deadline deadline) override { return inner_.shutDown(deadline); }

 private:
  SoundPtr stretched(const SoundPtr& sound);

  AudioOutput& inner_;
  int percent_ = 100;
  std::vector<SoundPtr> known_;
  std::map<std::pair<const DecodedSound*, int>, SoundPtr> copies_;
};

}  // namespace wuffel
