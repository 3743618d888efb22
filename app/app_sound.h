// The six channels of the window program: files below the working
// directory, positions on the wall clock, voices on the audio device.
#pragma once

#include "app/loaded_audio_output.h"
#include "sound/channel.h"
#include "sound/device_format_loader.h"
#include "sound/wall_clock.h"

namespace wuffel {

class AppSound {
 public:
  AppSound() : channels_(clock_, files_, output_) {}
  SoundChannels& channels() { return channels_; }

 private:
  WallClock clock_;
  // Opening the channels waits neither for the audio device nor for its
  // libraries.
  LoadedAudioOutput output_;
  DeviceFormatLoader files_{output_};
  SoundChannels channels_;
};

}  // namespace wuffel
