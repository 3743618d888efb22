// The six channels of the window program: files below the working
// directory, positions on the wall clock, voices on the audio device.
#pragma once

#include <chrono>
#include <cstdlib>

#include "app/audio_module_output.h"
#include "sound/channel.h"
#include "sound/own_format_loader.h"
#include "sound/wall_clock.h"

namespace wuffel {

class AppSound {
 public:
  // The share of the 100 ms an exit may take that the device gets.
  static constexpr std::chrono::milliseconds kShutDownWait{30};

  AppSound() : channels_(clock_, files_, output_) {}
  SoundChannels& channels() { return channels_; }
  // Where a replay's own channels load their files and sound.
  SoundLoader& files() { return files_; }
  AudioOutput& output() { return output_; }
  // The channels open without the device; nothing sounds before this.
  void startDevice() { output_.startLoading(); }
  // Closes the channels and lets go of the device. False when a part of it
  // hangs in the sound server and was left running: the process should
  // then end without its static destructors.
  bool shutDown() {
    channels_.closeAll();
    return output_.shutDown(std::chrono::steady_clock::now() + kShutDownWait);
  }

  // The desktop's mixer shows the program's stream by these (Qt would
  // call it "QtPulseAudio:<pid>"); PulseAudio's client library reads them
  // from the environment when Qt connects. Settings of the user's own win.
  // Call before any thread starts: it changes the environment.
  static void nameTheStream() {
    ::setenv("PULSE_PROP_OVERRIDE_application.name", WUFFEL_APP_NAME, 0);
    ::setenv("PULSE_PROP_OVERRIDE_application.id", WUFFEL_APP_ID, 0);
    ::setenv("PULSE_PROP_OVERRIDE_application.icon_name", WUFFEL_APP_ID, 0);
    ::setenv("PULSE_PROP_OVERRIDE_media.role", "game", 0);
  }

 private:
  WallClock clock_;
  AudioModuleOutput output_;
  OwnFormatLoader files_{output_};
  SoundChannels channels_;
};

}  // namespace wuffel
