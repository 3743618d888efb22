#pragma once

#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "sound/audio_output.h"

namespace wuffel {

// The audio device's output, loaded with its libraries (Qt Multimedia and
// the sound server's client) on a thread of its own: they take longer to load
// than all the first window needs, so the program starts loading them once
// that window is up. Until the output is there, announced sounds wait in a
// list and every other call waits for it (starting the load if need be).
// Without the module, the program stays silent.
class LoadedAudioOutput : public AudioOutput {
 public:
  LoadedAudioOutput();
  ~LoadedAudioOutput() override;
  void startLoading() const;
  LoadedAudioOutput(const LoadedAudioOutput&) = delete;
  LoadedAudioOutput& operator=(const LoadedAudioOutput&) = delete;

  int sampleRate() const override { return output().sampleRate(); }
  int channelCount() const override { return output().channelCount(); }
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override { output().stop(voice); }
  void prepare(SoundPtr sound) override;
  void setGain(double gain) override;

 private:
  void load();
  AudioOutput& output() const;

  std::mutex mutex_;
  std::vector<SoundPtr> announced_;
  double gain_ = 1;  // under mutex_, for the output once it is loaded
  std::unique_ptr<AudioOutput> output_;  // set once, before loaded_
  std::promise<void> loadedPromise_;
  std::shared_future<void> loaded_;
  mutable std::once_flag loading_;
  mutable std::thread loader_;
};

}  // namespace wuffel
