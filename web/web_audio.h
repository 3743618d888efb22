// The sound channels' output on the page: six Web Audio voices playing the
// wave files that the page decoded from the same bytes the loader reads.
// Positions and cut-offs stay the channels' own business (sound/channel.h).
#pragma once

#include <map>
#include <string>

#include "sound/audio_output.h"
#include "sound/wave_file_loader.h"

namespace wuffel::web {

// Loads as the desktop does, remembering each sound's file for the voices.
class NamedSoundLoader : public SoundLoader {
 public:
  SoundPtr load(std::string_view storedName) override;
  std::string fileOf(const DecodedSound* sound) const;

 private:
  WaveFileLoader files_;  // each file at its own format: Web Audio converts
  std::map<const DecodedSound*, std::string> files_of_;
};

class WebAudioOutput : public AudioOutput {
 public:
  explicit WebAudioOutput(const NamedSoundLoader& loader) : loader_(loader) {}
  // Web Audio mixes at the device's own format; the voices need no other.
  int sampleRate() const override { return kCommonDeviceRate; }
  int channelCount() const override { return kCommonDeviceChannels; }
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override;
  void setGain(double gain) override;
  void setSpeed(int percent) override { percent_ = percent; }

 private:
  const NamedSoundLoader& loader_;
  int percent_ = 100;
};

}  // namespace wuffel::web
