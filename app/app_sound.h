// The six channels of the window program: files below the working
// directory, positions on the wall clock, voices on the audio device.
#pragma once

#include "sound/channel.h"
#include "sound/qt_audio_output.h"
#include "sound/wall_clock.h"
#include "sound/wave_file_loader.h"

namespace wuffel {

class AppSound {
 public:
  AppSound()
      : loader_(output_.sampleRate(), output_.channelCount()), channels_(clock_, loader_, output_) {}
  SoundChannels& channels() { return channels_; }

 private:
  WallClock clock_;
  QtAudioOutput output_;
  WaveFileLoader loader_;
  SoundChannels channels_;
};

}  // namespace wuffel
