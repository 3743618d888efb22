#pragma once

#include <cstdint>

#include "sound/audio_output.h"
#include "app/device_arrival.h"
#include "app/prepared_sounds.h"

namespace wuffel {

// Plays the mixed voices on the default audio device. A feeder on its own
// thread (AudioFeeder) tops up a QAudioSink while something sounds and
// sleeps while nothing does; a start request wakes it. A stop drops what
// the device still holds of the stopped sound, so it falls silent at once.
// After a few seconds without sound the stream is corked, so that the
// device can sleep. Without a sound server, or when it goes away, it is
// silent and picks the sound up once the server answers; channel positions
// do not depend on it. Create it after the Qt application object.
//
// Finding the device and connecting to the sound server take a while, so
// they run on the feeder's thread and the constructor returns at once. The
// first call that needs the device waits for it a little (DeviceArrival);
// should the server not answer by then, the output stays silent without
// waiting again, and plays once the device turns up. Sounds may come in any
// format: each is converted to the device's (or, where there was no server
// at first, kept as it is), ahead of time where prepare() announced it.
class QtAudioOutput : public AudioOutput {
 public:
  QtAudioOutput();
  // Shuts down (briefly) unless shutDown() was called.
  ~QtAudioOutput() override;
  QtAudioOutput(const QtAudioOutput&) = delete;
  QtAudioOutput& operator=(const QtAudioOutput&) = delete;

  // The device's format; the silent output's while there is none yet.
  int sampleRate() const override;
  int channelCount() const override;
  void start(int voice, SoundPtr sound, std::int64_t fromFrame) override;
  void stop(int voice) override;
  void setGain(double gain) override;
  // Converts `sound` to the device's format in the background.
  void prepare(SoundPtr sound) override;
  bool shutDown(Deadline deadline) override;

  // False while no stream takes the sound: no device was found or it has
  // not answered yet, or the server went away and has not come back.
  bool hasDevice() const;
  // How many start requests have reached the device's buffer (see Mixer).
  std::uint64_t startsMixed() const;

 private:
  struct Device;  // shared with the feeder's thread
  bool ready() const { return format_.arrived(); }
  // A feeder takes the requests, with a stream or without.
  bool feeding() const;

  Device* device_;
  DeviceArrival<OutputFormat> format_;
  bool shutDown_ = false;
  bool leftRunning_ = false;
};

}  // namespace wuffel
