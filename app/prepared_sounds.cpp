#include "app/prepared_sounds.h"

#include <QDeadlineTimer>

#include <pthread.h>
#include <sched.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "app/left_running.h"
#include "sound/sound_conversion.h"

namespace wuffel {

struct PreparedSounds::Work {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<SoundPtr> pending;
  // Keyed by the sound as opened, which the entry keeps alive.
  std::map<const DecodedSound*, std::pair<SoundPtr, SoundPtr>> done;
  std::optional<OutputFormat> format;
  bool quit = false;

  SoundPtr converted(const SoundPtr& sound) {
    std::lock_guard lock(mutex);
    const auto it = done.find(sound.get());
    return it == done.end() ? nullptr : it->second.second;
  }

  // No lock is held while converting, so the UI thread never waits for the
  // background one; should both convert the same sound, the first result stays.
  SoundPtr convertAndKeep(const SoundPtr& sound, OutputFormat f) {
    const bool asIs = f.sampleRate <= 0 || (sound->sampleRate == f.sampleRate && sound->channels == f.channels);
    SoundPtr out = asIs ? sound : convertSound(*sound, f.sampleRate, f.channels);
    std::lock_guard lock(mutex);
    return done.try_emplace(sound.get(), sound, out).first->second.second;
  }

  void run() {
    const sched_param none{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &none);
    for (;;) {
      SoundPtr next;
      OutputFormat f;
      {
        std::unique_lock lock(mutex);
        wake.wait(lock, [this] { return quit || (format && !pending.empty()); });
        if (quit) return;
        next = std::move(pending.front());
        pending.pop_front();
        f = *format;
      }
      if (!converted(next)) convertAndKeep(next, f);
    }
  }
};

PreparedSounds::PreparedSounds() : work_(new Work) {
  Work* work = work_;
  thread_ = QThread::create([work] { work->run(); });
  thread_->setObjectName("sound conversion");
  thread_->start();
}

PreparedSounds::~PreparedSounds() {
  stop(std::chrono::steady_clock::now() + kShutDownWaitByDefault);
  if (!leftRunning_) delete work_;
}

void PreparedSounds::setFormat(OutputFormat format) {
  {
    std::lock_guard lock(work_->mutex);
    work_->format = format;
  }
  work_->wake.notify_all();
}

void PreparedSounds::convertAhead(SoundPtr sound) {
  {
    std::lock_guard lock(work_->mutex);
    work_->pending.push_back(std::move(sound));
  }
  work_->wake.notify_all();
}

SoundPtr PreparedSounds::forOutput(const SoundPtr& sound) {
  if (SoundPtr done = work_->converted(sound)) return done;
  OutputFormat f;
  {
    std::lock_guard lock(work_->mutex);
    f = work_->format.value_or(OutputFormat{});
  }
  return work_->convertAndKeep(sound, f);
}

bool PreparedSounds::stop(Deadline deadline) {
  if (std::exchange(stopped_, true)) return !leftRunning_;
  {
    std::lock_guard lock(work_->mutex);
    work_->quit = true;
  }
  work_->wake.notify_all();
  if (thread_->wait(QDeadlineTimer(deadline))) {
    delete thread_;
  } else {
    leftRunning_ = true;
    leaveRunning(thread_);
    leaveRunning(work_);
  }
  thread_ = nullptr;
  return !leftRunning_;
}

}  // namespace wuffel
