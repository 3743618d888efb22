#pragma once

#include <future>
#include <memory>
#include <mutex>
#include <vector>

#include <QString>
#include <QThread>

#include "sound/audio_output.h"

namespace wuffel {

// The audio device's output, made by the module wuffel-audio, which is loaded
// with its libraries (Qt Multimedia and the sound server's client) at run
// time: they take longer to load than all the first window needs, so the
// program starts loading them once that window is up. Until the output is
// there, announced sounds wait in a list and every other call waits for it
// (starting the load if need be). Without the module, the program stays
// silent.
//
// The output and the Qt objects inside it are made, and in the end
// destroyed, on a thread of this object's that lasts as long as it does.
class AudioModuleOutput : public AudioOutput {
 public:
  // `module`: the module's path without its suffix; by default wuffel-audio
  // beside the program.
  explicit AudioModuleOutput(QString module = {});
  ~AudioModuleOutput() override;
  AudioModuleOutput(const AudioModuleOutput&) = delete;
  AudioModuleOutput& operator=(const AudioModuleOutput&) = delete;

  void startLoading() const;

  int sampleRate() const override { return output().sampleRate(); }
  int channelCount() const override { return output().channelCount(); }
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override { output().stop(voice); }
  void prepare(SoundPtr sound) override;

 private:
  void load();
  AudioOutput& output() const;

  QString module_;
  std::mutex mutex_;
  std::vector<SoundPtr> announced_;
  std::unique_ptr<AudioOutput> output_;  // set once, before loaded_
  std::promise<void> loadedPromise_;
  std::shared_future<void> loaded_;
  mutable std::once_flag loading_;
  mutable QThread home_;
  // Lives on home_ and runs the work there.
  mutable QObject* worker_ = nullptr;
};

}  // namespace wuffel
