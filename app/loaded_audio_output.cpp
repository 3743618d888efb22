#include "app/loaded_audio_output.h"

#include <QCoreApplication>
#include <QLibrary>

#include <cstdio>
#include <future>
#include <utility>
#include <vector>

#include "sound/left_running.h"

namespace wuffel {

struct LoadedAudioOutput::Loading {
  std::mutex mutex;
  std::vector<SoundPtr> announced;
  std::unique_ptr<AudioOutput> output;  // set once, before `loaded`
  std::promise<void> loaded;
  double gain = 1;  // for the output once it is there

  void load() {
    // Its code must outlive the output it made, so it is never unloaded.
    QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/wuffel-audio"));
    module.setLoadHints(QLibrary::PreventUnloadHint);
    using Create = AudioOutput* (*)();
    auto create = reinterpret_cast<Create>(module.resolve("wuffelCreateAudioOutput"));
    std::unique_ptr<AudioOutput> made;
    if (create) {
      made.reset(create());
    } else {
      std::fprintf(stderr, "wuffel-tennis: no sound: %s\n", qPrintable(module.errorString()));
      made = std::make_unique<SilentOutput>();
    }
    std::lock_guard lock(mutex);
    for (SoundPtr& sound : announced) made->prepare(std::move(sound));
    announced.clear();
    made->setGain(gain);
    output = std::move(made);
    loaded.set_value();
  }
};

LoadedAudioOutput::LoadedAudioOutput()
    : loading_(new Loading), loaded_(loading_->loaded.get_future().share()) {}

LoadedAudioOutput::~LoadedAudioOutput() {
  if (!shutDown_) shutDown(std::chrono::steady_clock::now() + kShutDownWaitByDefault);
  if (!loaderLeftRunning_) delete loading_;
}

void LoadedAudioOutput::startLoading() const {
  std::call_once(loadStarted_, [this] {
    Loading* loading = loading_;
    loader_ = std::thread([loading] { loading->load(); });
  });
}

AudioOutput* LoadedAudioOutput::output() const {
  if (shutDown_) return nullptr;
  // Loading on first need changes nothing a caller can see.
  startLoading();
  return loaded_.arrived() ? loading_->output.get() : nullptr;
}

int LoadedAudioOutput::sampleRate() const {
  AudioOutput* out = output();
  return out ? out->sampleRate() : kSilentRate;
}

int LoadedAudioOutput::channelCount() const {
  AudioOutput* out = output();
  return out ? out->channelCount() : kSilentChannels;
}

void LoadedAudioOutput::start(int voice, SoundPtr sound, std::int64_t fromFrame) {
  if (AudioOutput* out = output()) out->start(voice, std::move(sound), fromFrame);
}

void LoadedAudioOutput::stop(int voice) {
  if (AudioOutput* out = output()) out->stop(voice);
}

void LoadedAudioOutput::prepare(SoundPtr sound) {
  std::lock_guard lock(loading_->mutex);
  if (loading_->output) loading_->output->prepare(std::move(sound));
  else loading_->announced.push_back(std::move(sound));
}

// A loader still busy by the deadline is left to finish alone (loading
// libraries takes no sound server, but a slow disk may hold it up).
bool LoadedAudioOutput::shutDown(Deadline deadline) {
  if (std::exchange(shutDown_, true)) return !leftRunning_;
  if (!loader_.joinable()) return true;
  if (!loaded_.arrivedBy(deadline)) {
    loader_.detach();
    leaveRunning(loading_);
    loaderLeftRunning_ = leftRunning_ = true;
    return false;
  }
  loader_.join();
  leftRunning_ = !loading_->output->shutDown(deadline);
  return !leftRunning_;
}

void LoadedAudioOutput::setGain(double gain) {
  std::lock_guard lock(loading_->mutex);
  loading_->gain = gain;
  if (loading_->output) loading_->output->setGain(gain);
}

}  // namespace wuffel
