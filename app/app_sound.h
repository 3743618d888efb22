// The six channels of the window program: files below the working
// directory, positions on the wall clock, voices on the audio device.
#pragma once

#include "app/audio_module_output.h"
#include "sound/channel.h"
#include "sound/own_format_loader.h"
#include "sound/wall_clock.h"

namespace wuffel {

class AppSound {
 public:
  AppSound() : channels_(clock_, files_, output_) {}
  SoundChannels& channels() { return channels_; }
  // The channels open without the device; nothing sounds before this.
  void startDevice() { output_.startLoading(); }

 private:
  WallClock clock_;
  AudioModuleOutput output_;
  OwnFormatLoader files_{output_};
  SoundChannels channels_;
};

}  // namespace wuffel
