#pragma once

#include <filesystem>
#include <string_view>

#include "sound/audio_output.h"
#include "sound/wave_file_loader.h"

namespace wuffel {

// Opens each file at its own format, so that opening needs no audio device,
// and announces it to the output, which converts it to the device's format
// ahead of its first play.
class OwnFormatLoader : public SoundLoader {
 public:
  explicit OwnFormatLoader(AudioOutput& output, std::filesystem::path baseFolder = {})
      : output_(output), files_(std::move(baseFolder)) {}
  SoundPtr load(std::string_view storedName) override {
    SoundPtr sound = files_.load(storedName);
    output_.prepare(sound);
    return sound;
  }

 private:
  AudioOutput& output_;
  WaveFileLoader files_;
};

}  // namespace wuffel
