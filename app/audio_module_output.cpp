#include "app/audio_module_output.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLibrary>
#include <QThread>

#include <cstdio>
#include <future>
#include <memory>
#include <utility>
#include <vector>

#include "app/left_running.h"

namespace wuffel {

struct AudioModuleOutput::Home {
  explicit Home(QString path) : module(std::move(path)) { thread.setObjectName(QStringLiteral("audio module")); }

  // On the UI thread, once.
  void start() {
    thread.start();
    worker = new QObject;
    worker->moveToThread(&thread);
    QMetaObject::invokeMethod(worker, [this] { load(); }, Qt::QueuedConnection);
  }

  // On `thread`.
  void load() {
    // Its code must outlive the output it made, so it is never unloaded.
    QLibrary library(module);
    library.setLoadHints(QLibrary::PreventUnloadHint);
    using Create = AudioOutput* (*)();
    auto create = reinterpret_cast<Create>(library.resolve("wuffelCreateAudioOutput"));
    std::unique_ptr<AudioOutput> made;
    if (create) {
      made.reset(create());
    } else {
      std::fprintf(stderr, "wuffel-tennis: no sound: %s\n", qPrintable(library.errorString()));
      made = std::make_unique<SilentOutput>();
    }
    std::lock_guard lock(mutex);
    for (SoundPtr& sound : announced) made->prepare(std::move(sound));
    announced.clear();
    made->setGain(gain);
    output = std::move(made);
    loaded.set_value();
  }

  // On `thread`, after the load: the output lets go of the device and is
  // destroyed where it was made. Reports whether it let go in time.
  void release(Deadline deadline) {
    const bool letGo = output->shutDown(deadline);
    output.reset();
    worker->deleteLater();  // as the thread finishes
    released.set_value(letGo);
  }

  QString module;
  QThread thread;
  QObject* worker = nullptr;  // lives on `thread` and runs the work there
  std::mutex mutex;
  std::vector<SoundPtr> announced;
  std::unique_ptr<AudioOutput> output;  // set once, before `loaded`
  double gain = 1;  // for the output once it is there
  std::promise<void> loaded;
  std::promise<bool> released;
};

AudioModuleOutput::AudioModuleOutput(QString module)
    : home_(new Home(module.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/wuffel-audio")
                                      : std::move(module))),
      loaded_(home_->loaded.get_future().share()) {}

AudioModuleOutput::~AudioModuleOutput() {
  if (!shutDown_) shutDown(std::chrono::steady_clock::now() + kShutDownWaitByDefault);
  if (!homeLeftRunning_) delete home_;
}

void AudioModuleOutput::startLoading() const {
  std::call_once(loadStarted_, [this] { home_->start(); });
}

AudioOutput* AudioModuleOutput::output() const {
  if (shutDown_) return nullptr;
  // Loading on first need changes nothing a caller can see.
  startLoading();
  return loaded_.arrived() ? home_->output.get() : nullptr;
}

int AudioModuleOutput::sampleRate() const {
  AudioOutput* out = output();
  return out ? out->sampleRate() : kSilentRate;
}

int AudioModuleOutput::channelCount() const {
  AudioOutput* out = output();
  return out ? out->channelCount() : kSilentChannels;
}

void AudioModuleOutput::start(int voice, SoundPtr sound, std::int64_t fromFrame) {
  if (AudioOutput* out = output()) out->start(voice, std::move(sound), fromFrame);
}

void AudioModuleOutput::stop(int voice) {
  if (AudioOutput* out = output()) out->stop(voice);
}

void AudioModuleOutput::prepare(SoundPtr sound) {
  if (shutDown_) return;
  std::lock_guard lock(home_->mutex);
  if (home_->output) home_->output->prepare(std::move(sound));
  else home_->announced.push_back(std::move(sound));
}

void AudioModuleOutput::setGain(double gain) {
  if (shutDown_) return;
  std::lock_guard lock(home_->mutex);
  home_->gain = gain;
  if (home_->output) home_->output->setGain(gain);
}

// A load still busy by the deadline is left to finish alone (loading
// libraries takes no sound server, but a slow disk may hold it up), and so
// is an output that does not let go of its device in time.
bool AudioModuleOutput::shutDown(Deadline deadline) {
  if (std::exchange(shutDown_, true)) return !leftRunning_;
  if (!home_->worker) return true;  // never loaded
  Home* home = home_;
  bool answered = loaded_.arrivedBy(deadline);
  bool letGo = false;
  if (answered) {
    std::future<bool> released = home->released.get_future();
    QMetaObject::invokeMethod(home->worker, [home, deadline] { home->release(deadline); }, Qt::QueuedConnection);
    answered = released.wait_until(deadline) == std::future_status::ready;
    letGo = answered && released.get();
  }
  if (answered) {
    home->thread.quit();
    answered = home->thread.wait(QDeadlineTimer(deadline));
  }
  if (!answered) {
    leaveRunning(home);
    homeLeftRunning_ = true;
  }
  leftRunning_ = !(answered && letGo);
  return !leftRunning_;
}

}  // namespace wuffel
