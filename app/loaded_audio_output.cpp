#include "app/loaded_audio_output.h"

#include <QCoreApplication>
#include <QLibrary>

#include <cstdio>

namespace wuffel {

LoadedAudioOutput::LoadedAudioOutput() : loaded_(loadedPromise_.get_future().share()) {}

LoadedAudioOutput::~LoadedAudioOutput() {
  if (loader_.joinable()) loader_.join();
  output_.reset();
}

void LoadedAudioOutput::startLoading() const {
  std::call_once(loading_, [this] {
    // Loading on first need changes nothing a caller can see.
    loader_ = std::thread([this] { const_cast<LoadedAudioOutput*>(this)->load(); });
  });
}

void LoadedAudioOutput::load() {
  // Its code must outlive the output it made, so it is never unloaded.
  QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/wuffel-audio"));
  module.setLoadHints(QLibrary::PreventUnloadHint);
  using Create = AudioOutput* (*)();
  auto create = reinterpret_cast<Create>(module.resolve("wuffelCreateAudioOutput"));
  std::unique_ptr<AudioOutput> output;
  if (create) {
    output.reset(create());
  } else {
    std::fprintf(stderr, "wuffel-tennis: no sound: %s\n", qPrintable(module.errorString()));
    output = std::make_unique<SilentOutput>();
  }
  std::lock_guard lock(mutex_);
  for (SoundPtr& sound : announced_) output->prepare(std::move(sound));
  announced_.clear();
  output->setGain(gain_);
  output_ = std::move(output);
  loadedPromise_.set_value();
}

AudioOutput& LoadedAudioOutput::output() const {
  startLoading();
  loaded_.wait();
  return *output_;
}

void LoadedAudioOutput::start(int voice, SoundPtr sound, std::int64_t fromFrame) {
  output().start(voice, std::move(sound), fromFrame);
}

void LoadedAudioOutput::prepare(SoundPtr sound) {
  std::lock_guard lock(mutex_);
  if (output_) output_->prepare(std::move(sound));
  else announced_.push_back(std::move(sound));
}

void LoadedAudioOutput::setGain(double gain) {
  std::lock_guard lock(mutex_);
  gain_ = gain;
  if (output_) output_->setGain(gain);
}

}  // namespace wuffel
