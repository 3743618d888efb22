// A sound server of the tests' own with a null sink, a recorder of what the
// sink plays, and the measures taken of a recording. Only PulseAudio itself
// has to be installed: the server's folders, socket and client settings are
// the tests' own, so nothing else running on the machine can disturb it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "sound/sound.h"

namespace wuffel::test {

inline constexpr int kRecordRate = 48000;

// Starts `args` with stdout and stderr sent to `output`; the child is killed
// with this process should it die before cleaning up.
pid_t spawn(const std::vector<std::string>& args, const std::filesystem::path& output);
// Stops a child, politely first.
void finish(pid_t& pid);
// Runs `args` to its end; its exit status, or -1.
int run(const std::vector<std::string>& args, const std::filesystem::path& output);
std::string readFile(const std::filesystem::path& p);

// The server lives in a temporary folder, with a null sink as its default.
// The constructor points this process's environment at it, so it has to
// run before the Qt application asks for audio devices; it starts the
// server unless told not to. The server can be killed and started again
// under a running program.
class PrivateServer {
 public:
  explicit PrivateServer(bool startNow = true);
  ~PrivateServer();
  PrivateServer(const PrivateServer&) = delete;
  PrivateServer& operator=(const PrivateServer&) = delete;

  // Starts the server and waits until it answers. False, with whyNot(),
  // when it does not.
  bool start();
  // Kills it outright, as a crash would; its clients lose their streams.
  void kill();

  bool installed() const { return installed_; }
  bool running() const { return pid_ > 0; }
  const std::string& whyNot() const { return why_; }
  const std::filesystem::path& dir() const { return dir_; }
  // What `pactl list sink-inputs` says of the streams playing to it.
  std::string sinkInputs() const;

 private:
  std::filesystem::path dir_;
  bool installed_ = false;
  pid_t pid_ = -1;
  std::string why_;
};

// Records the sink's monitor as mono 16-bit samples at kRecordRate until
// stopped.
class Recorder {
 public:
  explicit Recorder(const std::filesystem::path& file);
  ~Recorder();
  // Waits until samples arrive, which the null sink produces even in
  // silence, so the stream is connected before anything plays.
  bool waitForData();
  bool hasData() const;
  std::vector<std::int16_t> stop();

 private:
  std::filesystem::path file_;
  pid_t pid_ = -1;
};

// Runs the Qt event loop for `ms` milliseconds.
void spin(int ms);

// The stretch of a recording that is clearly not silence.
struct Heard {
  std::size_t first = 0, last = 0;
  double rms = 0;
  double ms() const { return (last - first) * 1000.0 / kRecordRate; }
  // The sample `ms` milliseconds into the recording.
  static std::size_t at(double ms) { return static_cast<std::size_t>(ms * kRecordRate / 1000); }
};
Heard listen(const std::vector<std::int16_t>& rec, int threshold);
// The stretches of sound in a recording, split at pauses of 100 ms or more.
std::vector<Heard> stretches(const std::vector<std::int16_t>& rec, int threshold);

// The silences of 1 ms or more inside the sounding part of a recording of
// a steady sound (tone()), in milliseconds each.
std::vector<double> dropouts(const std::vector<std::int16_t>& rec);

// A steady sine tone of `ms` milliseconds, loud enough that every sample
// but those at its zero crossings stands clear of silence.
inline constexpr int kToneAmplitude = 10000;
SoundPtr tone(int sampleRate, int channels, int ms, int amplitude = kToneAmplitude);

double rmsOf(const DecodedSound& s);

}  // namespace wuffel::test
