#pragma once

#include <QThread>

#include <atomic>
#include <future>
#include <memory>

#include "sound/audio_output.h"
#include "sound/mixer.h"
#include "sound/prepared_sounds.h"

namespace wuffel {

class AudioFeeder;

// Plays the mixed voices on the default audio device. A feeder on its own
// thread tops up a QAudioSink every 10 ms while something sounds and sleeps
// while nothing does; a start request wakes it. Without a
// device, or when the device fails, it stays silent; channel positions do not
// depend on it. Create it after the Qt application object.
//
// Finding the device and connecting to the sound server take a while, so
// they run on the feeder's thread and the constructor returns at once; the
// first call that needs the device waits for them. Sounds may come in any
// format: each is converted to the device's, ahead of time where
// prepare() announced it.
class QtAudioOutput : public AudioOutput {
 public:
  QtAudioOutput();
  ~QtAudioOutput() override;
  QtAudioOutput(const QtAudioOutput&) = delete;
  QtAudioOutput& operator=(const QtAudioOutput&) = delete;

  int sampleRate() const override { return started().sampleRate; }
  int channelCount() const override { return started().channels; }
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override;
  void setGain(double gain) override;

  // Converts `sound` to the device's format in the background.
  void prepare(SoundPtr sound) override { prepared_.convertAhead(std::move(sound)); }

  // False when no device was found or it could not be started.
  bool hasDevice() const {
    started();
    return feeding_;
  }
  // How many start requests have reached the device's buffer (see Mixer).
  std::uint64_t startsMixed() const { return hasDevice() ? mixer_->startsMixed() : 0; }

 private:
  const OutputFormat& started() const { return format_.get(); }
  void begin();

  // Set on the feeder's thread before format_ is ready, read after.
  std::unique_ptr<Mixer> mixer_;
  bool feeding_ = false;
  std::atomic<double> gain_{1};  // for a mixer not made yet
  std::promise<OutputFormat> formatFound_;
  std::shared_future<OutputFormat> format_;
  PreparedSounds prepared_;
  QThread thread_;
  AudioFeeder* feeder_ = nullptr;  // lives on thread_
};

}  // namespace wuffel
