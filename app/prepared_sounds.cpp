#include "app/prepared_sounds.h"

#include "sound/sound_conversion.h"

namespace wuffel {

PreparedSounds::PreparedSounds(std::shared_future<OutputFormat> format) : format_(std::move(format)) {
  thread_.reset(QThread::create([this] { run(); }));
  thread_->setObjectName("sound conversion");
  thread_->start(QThread::IdlePriority);
}

PreparedSounds::~PreparedSounds() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_->wait();
}

void PreparedSounds::convertAhead(SoundPtr sound) {
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(sound));
  }
  wake_.notify_all();
}

SoundPtr PreparedSounds::converted(const SoundPtr& sound) {
  std::lock_guard lock(mutex_);
  const auto it = done_.find(sound.get());
  return it == done_.end() ? nullptr : it->second.second;
}

// No lock is held while converting, so the UI thread never waits for the
// idle one; should both convert the same sound, the first result stays.
SoundPtr PreparedSounds::convertAndKeep(const SoundPtr& sound) {
  const OutputFormat f = format_.get();
  const bool asIs = f.sampleRate <= 0 || (sound->sampleRate == f.sampleRate && sound->channels == f.channels);
  SoundPtr out = asIs ? sound : convertSound(*sound, f.sampleRate, f.channels);
  std::lock_guard lock(mutex_);
  return done_.try_emplace(sound.get(), sound, out).first->second.second;
}

SoundPtr PreparedSounds::forOutput(const SoundPtr& sound) {
  if (SoundPtr done = converted(sound)) return done;
  return convertAndKeep(sound);
}

void PreparedSounds::run() {
  for (;;) {
    SoundPtr next;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || !pending_.empty(); });
      if (quit_) return;
      next = std::move(pending_.front());
      pending_.pop_front();
    }
    if (!converted(next)) convertAndKeep(next);
  }
}

}  // namespace wuffel
