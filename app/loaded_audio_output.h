#pragma once

#include <memory>
#include <mutex>
#include <thread>

#include "sound/audio_output.h"
#include "sound/device_arrival.h"

namespace wuffel {

// The audio device's output, loaded with its libraries (Qt Multimedia and
// the sound server's client) on a thread of its own: they take longer to load
// than all the first window needs, so the program starts loading them once
// that window is up. Until the output is there, announced sounds wait in a
// list, and every other call waits for it a little (DeviceArrival, starting
// the load if need be), then does without. Without the module, the program
// stays silent.
class LoadedAudioOutput : public AudioOutput {
 public:
  LoadedAudioOutput();
  // Shuts down (briefly) unless shutDown() was called.
  ~LoadedAudioOutput() override;
  void startLoading() const;
  LoadedAudioOutput(const LoadedAudioOutput&) = delete;
  LoadedAudioOutput& operator=(const LoadedAudioOutput&) = delete;

  int sampleRate() const override;
  int channelCount() const override;
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override;
  void prepare(SoundPtr sound) override;
  void setGain(double gain) override;
  bool shutDown(Deadline deadline) override;

 private:
  struct Loading;  // shared with the loader thread
  AudioOutput* output() const;  // null while not loaded

  Loading* loading_;
  DeviceArrival<void> loaded_;
  mutable std::once_flag loadStarted_;
  mutable std::thread loader_;
  bool shutDown_ = false;
  bool leftRunning_ = false;
  bool loaderLeftRunning_ = false;
};

}  // namespace wuffel
