#pragma once

#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <mutex>

#include <QThread>

#include "sound/sound.h"

namespace wuffel {

struct OutputFormat {
  int sampleRate = 0;
  int channels = 0;
};

// The opened sounds in the audio device's format. Converting a long sound
// takes tens of milliseconds, more than the whole start of the program, so
// it is done ahead on a thread that runs only when a core is idle; a sound
// played before its turn is converted on the spot instead.
class PreparedSounds {
 public:
  explicit PreparedSounds(std::shared_future<OutputFormat> format);
  ~PreparedSounds();
  PreparedSounds(const PreparedSounds&) = delete;
  PreparedSounds& operator=(const PreparedSounds&) = delete;

  // Any thread; returns at once.
  void convertAhead(SoundPtr sound);
  // `sound` in the output's format. Waits for the format, never for the
  // background thread.
  SoundPtr forOutput(const SoundPtr& sound);

 private:
  void run();
  SoundPtr converted(const SoundPtr& sound);  // null when not done yet
  SoundPtr convertAndKeep(const SoundPtr& sound);

  std::shared_future<OutputFormat> format_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<SoundPtr> pending_;
  // Keyed by the sound as opened, which the entry keeps alive.
  std::map<const DecodedSound*, std::pair<SoundPtr, SoundPtr>> done_;
  bool quit_ = false;
  std::unique_ptr<QThread> thread_;
};

}  // namespace wuffel
