#pragma once

#include <mutex>

#include <QString>

#include "app/device_arrival.h"
#include "sound/audio_output.h"

namespace wuffel {

// The audio device's output, made by the module wuffel-audio, which is loaded
// with the sound server's client library at run time: the two take longer
// to load than all the first window needs, so the program starts loading
// the module once that window is up. Until the output is
// there, announced sounds wait in a list, and every other call waits for it
// a little (DeviceArrival, starting the load if need be), then does without.
// Without the module, the program stays silent.
//
// The output, and the Qt objects inside it, are made, used by their own
// threads and in the end destroyed on a thread of this object's that lasts
// as long as the output does.
class AudioModuleOutput : public AudioOutput {
 public:
  // `module`: the module's path, without its suffix if need be; by default
  // wuffel-audio beside the program.
  explicit AudioModuleOutput(QString module = {});
  // Shuts down (briefly) unless shutDown() was called.
  ~AudioModuleOutput() override;
  AudioModuleOutput(const AudioModuleOutput&) = delete;
  AudioModuleOutput& operator=(const AudioModuleOutput&) = delete;

  void startLoading() const;

  int sampleRate() const override;
  int channelCount() const override;
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override;
  void prepare(SoundPtr sound) override;
  void setGain(double gain) override;
  bool shutDown(Deadline deadline) override;

 private:
  struct Home;  // the output's thread, and what it shares with the UI thread
  AudioOutput* output() const;  // null while not loaded

  Home* home_;
  DeviceArrival<void> loaded_;
  mutable std::once_flag loadStarted_;
  bool shutDown_ = false;
  bool leftRunning_ = false;
  bool homeLeftRunning_ = false;
};

}  // namespace wuffel
