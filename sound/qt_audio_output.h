#pragma once

#include <QThread>

#include <memory>

#include "sound/audio_output.h"
#include "sound/mixer.h"

namespace wuffel {

class AudioFeeder;

// Plays the mixed voices on the default audio device. A feeder on its own
// thread tops up a QAudioSink every 10 ms while something sounds and sleeps
// while nothing does; a start request wakes it. Without a
// device, or when the device fails, it stays silent; channel positions do not
// depend on it. Create it after the Qt application object.
class QtAudioOutput : public AudioOutput {
 public:
  QtAudioOutput();
  ~QtAudioOutput() override;
  QtAudioOutput(const QtAudioOutput&) = delete;
  QtAudioOutput& operator=(const QtAudioOutput&) = delete;

  int sampleRate() const override { return mixer_->sampleRate(); }
  int channelCount() const override { return mixer_->channelCount(); }
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override;

  // False when no device was found or it could not be started.
  bool hasDevice() const { return feeder_ != nullptr; }
  // How many start requests have reached the device's buffer (see Mixer).
  std::uint64_t startsMixed() const { return mixer_->startsMixed(); }

 private:
  std::unique_ptr<Mixer> mixer_;
  QThread thread_;
  AudioFeeder* feeder_ = nullptr;  // lives on thread_
};

}  // namespace wuffel
