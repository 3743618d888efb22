#pragma once

#include <memory>

#include <QThread>

#include "sound/audio_output.h"
#include "sound/sound.h"

namespace wuffel {

struct OutputFormat {
  int sampleRate = 0;
  int channels = 0;
};

// The opened sounds in the audio device's format. Converting a long sound
// takes tens of milliseconds, more than the whole start of the program, so
// it is done ahead on a thread of its own once the device's format is known;
// a sound played before its turn is converted on the spot instead. The
// thread is a batch one, which waits its turn rather than cut in before
// the game's threads, and not an idle one: on a busy machine an idle thread
// gets hardly any time, holds the process's memory map for seconds while it
// grows its heap (every other thread that touches new memory waits), and
// keeps the process from ending until it is run.
class PreparedSounds {
 public:
  PreparedSounds();
  ~PreparedSounds();
  PreparedSounds(const PreparedSounds&) = delete;
  PreparedSounds& operator=(const PreparedSounds&) = delete;

  // Any thread, once: the device's format.
  void setFormat(OutputFormat format);
  // Any thread; returns at once.
  void convertAhead(SoundPtr sound);
  // `sound` in the output's format, once setFormat() was called. Never
  // waits for the background thread.
  SoundPtr forOutput(const SoundPtr& sound);
  // Ends the background thread by `deadline`. A conversion still running
  // then is left to finish on its own: false in that case.
  bool stop(Deadline deadline);

 private:
  struct Work;  // shared with the background thread
  Work* work_;
  QThread* thread_;
  bool stopped_ = false;
  bool leftRunning_ = false;
};

}  // namespace wuffel
