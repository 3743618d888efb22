#include "app/audio_module_output.h"

#include <QCoreApplication>
#include <QLibrary>

#include <cstdio>

namespace wuffel {

AudioModuleOutput::AudioModuleOutput(QString module)
    : module_(module.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/wuffel-audio")
                               : std::move(module)),
      loaded_(loadedPromise_.get_future().share()) {
  home_.setObjectName(QStringLiteral("audio module"));
}

AudioModuleOutput::~AudioModuleOutput() {
  if (!worker_) return;  // never loaded
  // Queued behind the load, so the output is there to go. The worker goes
  // as its thread finishes.
  QMetaObject::invokeMethod(worker_, [this] {
    output_.reset();
    worker_->deleteLater();
  }, Qt::BlockingQueuedConnection);
  home_.quit();
  home_.wait();
}

void AudioModuleOutput::startLoading() const {
  std::call_once(loading_, [this] {
    home_.start();
    worker_ = new QObject;
    worker_->moveToThread(&home_);
    // Loading on first need changes nothing a caller can see.
    auto* self = const_cast<AudioModuleOutput*>(this);
    QMetaObject::invokeMethod(worker_, [self] { self->load(); }, Qt::QueuedConnection);
  });
}

void AudioModuleOutput::load() {
  // Its code must outlive the output it made, so it is never unloaded.
  QLibrary module(module_);
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
  output_ = std::move(output);
  loadedPromise_.set_value();
}

AudioOutput& AudioModuleOutput::output() const {
  startLoading();
  loaded_.wait();
  return *output_;
}

void AudioModuleOutput::start(int voice, SoundPtr sound, std::int64_t fromFrame) {
  output().start(voice, std::move(sound), fromFrame);
}

void AudioModuleOutput::prepare(SoundPtr sound) {
  std::lock_guard lock(mutex_);
  if (output_) output_->prepare(std::move(sound));
  else announced_.push_back(std::move(sound));
}

}  // namespace wuffel
