// Plays a game sound through the real device path into a private sound
// server's null sink and checks, from a recording of the sink's monitor,
// that it was heard. Skipped only where PulseAudio is not installed: the
// server, its folders and its client settings are this test's own, so
// nothing else running on the machine can keep it from starting.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/qt_audio_output.h"
#include "sound/channel.h"
#include "sound/own_format_loader.h"
#include "sound/wall_clock.h"
#include "sound/wave_file_loader.h"

namespace wuffel {
namespace {

namespace fs = std::filesystem;

constexpr int kRecordRate = 48000;
const char* const kSink = "wuffel_null";

bool onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string rest = path ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= rest.size();) {
    const std::size_t end = std::min(rest.find(':', start), rest.size());
    const fs::path candidate = fs::path(rest.substr(start, end - start)) / program;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Starts `args` with stdout and stderr sent to `output`; the child is killed
// with this process should it die before cleaning up.
pid_t spawn(const std::vector<std::string>& args, const fs::path& output) {
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(127);
  const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd >= 0) {
    ::dup2(fd, STDOUT_FILENO);
    ::dup2(fd, STDERR_FILENO);
    ::close(fd);
  }
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execvp(argv[0], argv.data());
  ::_exit(127);
}

// Stops a child, politely first.
void finish(pid_t& pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) {
      pid = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  pid = -1;
}

bool exited(pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) == pid; }

int run(const std::vector<std::string>& args, const fs::path& output) {
  pid_t pid = spawn(args, output);
  if (pid < 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A sound server of its own, in a temporary folder, with a null sink as its
// default. It has to be running, and the environment pointing at it, before
// the Qt application asks for audio devices.
class PrivateServer {
 public:
  PrivateServer() {
    dir_ = fs::temp_directory_path() / ("wuffel-pulse-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "run");
    ::chmod(dir_.c_str(), 0700);
    if (!onPath("pulseaudio") || !onPath("parec") || !onPath("pactl")) {
      why_ = "pulseaudio, parec or pactl is not installed";
      return;
    }
    installed_ = true;
    const fs::path socket = dir_ / "native";
    ::setenv("PULSE_RUNTIME_PATH", (dir_ / "run").c_str(), 1);
    ::setenv("PULSE_STATE_PATH", (dir_ / "state").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    ::setenv("PULSE_SERVER", ("unix:" + socket.string()).c_str(), 1);
    ::setenv("PULSE_SINK", kSink, 1);
    ::unsetenv("PULSE_SOURCE");
    // Cookie and client settings from a home of its own.
    ::setenv("HOME", dir_.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    // -n: none of the machine's default modules; the one sink and the socket
    // are all there is. Running as root needs --system=false spelt out.
    pid_ = spawn({"pulseaudio", "-n", "--daemon=no", "--system=false", "--exit-idle-time=-1",
                  "--disallow-exit", "--use-pid-file=no", "--disable-shm=yes", "-F", "/dev/null",
                  "--load=module-null-sink sink_name=" + std::string(kSink) + " rate=" +
                      std::to_string(kRecordRate),
                  "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket.string()},
                 dir_ / "server.log");
    // A machine busy building can take long to start even a small server.
    for (int i = 0; i < 300; ++i) {
      if (exited(pid_)) {
        pid_ = -1;
        why_ = "the sound server did not start: " + readFile(dir_ / "server.log");
        return;
      }
      if (fs::exists(socket) && run({"pactl", "info"}, dir_ / "pactl.log") == 0) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    why_ = "the sound server did not answer within 30 s: " + readFile(dir_ / "server.log");
    finish(pid_);
  }
  ~PrivateServer() {
    finish(pid_);
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  bool installed() const { return installed_; }
  bool running() const { return pid_ > 0; }
  const std::string& whyNot() const { return why_; }
  const fs::path& dir() const { return dir_; }

 private:
  fs::path dir_;
  bool installed_ = false;
  pid_t pid_ = -1;
  std::string why_;
};

PrivateServer* server = nullptr;

// Records the sink's monitor as mono 16-bit samples until stopped.
class Recorder {
 public:
  explicit Recorder(const fs::path& file) : file_(file) {
    pid_ = spawn({"parec", "--device=" + std::string(kSink) + ".monitor", "--raw",
                  "--format=s16le", "--channels=1", "--rate=" + std::to_string(kRecordRate),
                  "--latency-msec=20"},
                 file_);
  }
  ~Recorder() { finish(pid_); }

  // Waits until samples arrive, which the null sink produces even in
  // silence, so the stream is connected before anything plays.
  bool waitForData() {
    for (int i = 0; i < 3000 && pid_ > 0 && !exited(pid_); ++i) {
      std::error_code ec;
      if (fs::file_size(file_, ec) > 0 && !ec) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  std::vector<std::int16_t> stop() {
    finish(pid_);
    const std::string bytes = readFile(file_);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
  }

 private:
  fs::path file_;
  pid_t pid_ = -1;
};

void spin(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The stretch of the recording that is clearly not silence.
struct Heard {
  std::size_t first = 0, last = 0;
  double rms = 0;
  double ms() const { return (last - first) * 1000.0 / kRecordRate; }
};

Heard listen(const std::vector<std::int16_t>& rec, int threshold) {
  Heard h;
  bool any = false;
  for (std::size_t i = 0; i < rec.size(); ++i) {
    if (std::abs(int(rec[i])) < threshold) continue;
    if (!any) h.first = i;
    h.last = i;
    any = true;
  }
  if (!any) return h;
  double sum = 0;
  for (std::size_t i = h.first; i <= h.last; ++i) sum += double(rec[i]) * rec[i];
  h.rms = std::sqrt(sum / double(h.last - h.first + 1));
  return h;
}

// The output waits for the device only briefly, and a busy machine may take
// longer to connect; the tests wait here instead.
bool foundDevice(const QtAudioOutput& output) {
  for (int i = 0; i < 50 && !output.hasDevice(); ++i) spin(100);
  return output.hasDevice();
}

double rmsOf(const DecodedSound& s) {
  double sum = 0;
  for (std::int16_t v : s.samples) sum += double(v) * v;
  return std::sqrt(sum / double(s.samples.size()));
}

TEST(NullSink, TheMissSoundIsHeardWholeAndAgainAfterSilence) {
  ASSERT_NE(server, nullptr);
  if (!server->installed()) GTEST_SKIP() << server->whyNot();
  ASSERT_TRUE(server->running()) << "no private sound server: " << server->whyNot();

  Recorder recorder(server->dir() / "monitor.raw");
  ASSERT_TRUE(recorder.waitForData()) << "parec could not record the null sink";

  // As in the window program: the files open at their own format, before
  // the device is found, and the output converts them to the device's.
  QtAudioOutput output;
  WallClock clock;
  OwnFormatLoader loader(output);
  SoundChannels channels(clock, loader, output);
  SoundChannel& miss = channels[ChannelId::MPlayerMiss];
  miss.open();
  ASSERT_TRUE(foundDevice(output)) << "the sound server runs, but no audio device was found";
  ASSERT_NE(output.sampleRate(), 22050) << "the device should need the sounds converted";
  const double missMs = static_cast<double>(miss.lengthMs());
  miss.play();
  spin(static_cast<int>(miss.lengthMs()) + 300);
  EXPECT_FALSE(miss.isSounding());
  EXPECT_EQ(output.startsMixed(), 1u);

  // By now the feeder sleeps; a new cue has to wake it. This sound was not
  // announced to the output, so it is converted when it is first played.
  WaveFileLoader unannounced;
  SoundChannel hit(ChannelId::MPlayerHit, clock, unannounced, output, nullptr);
  hit.open();
  hit.play();
  for (int i = 0; i < 100 && output.startsMixed() < 2; ++i) spin(10);
  EXPECT_EQ(output.startsMixed(), 2u) << "a cue after silence was not mixed within 1 s";
  spin(static_cast<int>(hit.lengthMs()) + 300);
  hit.close();
  channels.closeAll();

  const std::vector<std::int16_t> rec = recorder.stop();
  ASSERT_GT(rec.size(), static_cast<std::size_t>(kRecordRate)) << "the recording is too short";

  // The miss sound comes first, the hit sound after the pause.
  const SoundPtr missSound = WaveFileLoader(kRecordRate, 1).load(channelFileName(ChannelId::MPlayerMiss));
  const double sourceRms = rmsOf(*missSound);
  const int threshold = static_cast<int>(sourceRms / 4);
  const std::size_t pauseAt = listen(rec, threshold).first +
                              static_cast<std::size_t>(missMs + 150) * kRecordRate / 1000;
  ASSERT_LT(pauseAt, rec.size());
  const Heard first = listen({rec.begin(), rec.begin() + static_cast<long>(pauseAt)}, threshold);
  const Heard second = listen({rec.begin() + static_cast<long>(pauseAt), rec.end()}, threshold);

  std::cout << "heard " << first.ms() << " ms of the " << missMs << " ms sound at rms " << first.rms
            << " (file: " << sourceRms << "), then " << second.ms() << " ms\n";
  ASSERT_GT(first.rms, 0) << "nothing was heard";
  EXPECT_GT(first.rms, sourceRms * 0.5);
  EXPECT_GT(first.ms(), missMs * 0.7) << "of " << missMs << " ms";
  EXPECT_LT(first.ms(), missMs + 100.0);
  EXPECT_GT(second.rms, 0) << "the second cue was not heard";
}

// What `pactl list sink-inputs` says of the streams playing to the server.
std::string sinkInputs() {
  const fs::path out = server->dir() / "sink-inputs.txt";
  run({"pactl", "list", "sink-inputs"}, out);
  return readFile(out);
}

// A few seconds after the last sound the stream is corked, so the device
// can sleep; the next sound uncorks it and is heard.
TEST(NullSink, TheStreamIsCorkedWhileSilentAndWakesForTheNextSound) {
  if (!server) GTEST_SKIP() << "no sound server was started";
  if (!server->running()) GTEST_SKIP() << "no private sound server: " << server->whyNot();

  QtAudioOutput output;
  WallClock clock;
  OwnFormatLoader loader(output);
  SoundChannels channels(clock, loader, output);
  SoundChannel& hit = channels[ChannelId::MPlayerHit];
  hit.open();
  ASSERT_TRUE(foundDevice(output)) << "the sound server runs, but no audio device was found";
  hit.play();
  bool corked = false;
  for (int i = 0; i < 100 && !corked; ++i) {
    spin(100);
    corked = sinkInputs().find("Corked: yes") != std::string::npos;
  }
  ASSERT_TRUE(corked) << "still running 10 s after the last sound:\n" << sinkInputs();

  Recorder recorder(server->dir() / "uncorked.raw");
  if (!recorder.waitForData()) GTEST_SKIP() << "parec could not record the null sink";
  hit.rewind();
  hit.play();
  for (int i = 0; i < 100 && output.startsMixed() < 2; ++i) spin(10);
  EXPECT_EQ(output.startsMixed(), 2u) << "the cue after the pause was not mixed within 1 s";
  spin(static_cast<int>(hit.lengthMs()) + 300);
  EXPECT_NE(sinkInputs().find("Corked: no"), std::string::npos);
  channels.closeAll();
  const std::vector<std::int16_t> rec = recorder.stop();
  const SoundPtr hitSound = WaveFileLoader(kRecordRate, 1).load(channelFileName(ChannelId::MPlayerHit));
  EXPECT_GT(listen(rec, static_cast<int>(rmsOf(*hitSound) / 4)).rms, 0) << "the sound after the pause was not heard";
}

// The stretches of sound in a recording, split at pauses of 100 ms or more.
std::vector<Heard> stretches(const std::vector<std::int16_t>& rec, int threshold) {
  std::vector<Heard> found;
  const std::size_t pause = kRecordRate / 10;
  std::size_t from = 0;
  for (std::size_t i = 0; i < rec.size(); ++i) {
    if (std::abs(int(rec[i])) < threshold) continue;
    if (i - from >= pause || found.empty()) {
      if (!found.empty()) found.back().last = from;
      found.push_back({i, i, 1});
    }
    from = i;
  }
  if (!found.empty()) found.back().last = from;
  return found;
}

// A stop drops what the device still holds of the sound, so the sound ends
// when it is stopped rather than a buffer's length later. Scheduling on a
// busy machine delays a cut by some milliseconds, so the figure taken is the
// best of several cuts.
TEST(NullSink, AStoppedSoundFallsSilentAtOnce) {
  if (!server) GTEST_SKIP() << "no sound server was started";
  if (!server->running()) GTEST_SKIP() << "no private sound server: " << server->whyNot();

  Recorder recorder(server->dir() / "cut.raw");
  if (!recorder.waitForData()) GTEST_SKIP() << "parec could not record the null sink";

  QtAudioOutput output;
  WallClock clock;
  OwnFormatLoader loader(output);
  SoundChannels channels(clock, loader, output);
  SoundChannel& miss = channels[ChannelId::MPlayerMiss];
  miss.open();
  ASSERT_TRUE(foundDevice(output)) << "the sound server runs, but no audio device was found";
  spin(100);  // converted ahead, as in a game

  // From the moment its first frames reach the device, each cue sounds for
  // the time it is given before its stop.
  constexpr int kCuts = 5;
  std::vector<double> givenMs;
  for (int cut = 0; cut < kCuts; ++cut) {
    const std::uint64_t before = output.startsMixed();
    const auto played = std::chrono::steady_clock::now();
    miss.play();
    while (output.startsMixed() == before && std::chrono::steady_clock::now() - played < std::chrono::seconds(1))
      std::this_thread::yield();
    const auto mixed = std::chrono::steady_clock::now();
    std::this_thread::sleep_until(played + std::chrono::milliseconds(400));
    miss.stop();
    miss.rewind();
    givenMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - mixed).count());
    spin(300);
  }
  channels.closeAll();

  const std::vector<std::int16_t> rec = recorder.stop();
  const SoundPtr missSound = WaveFileLoader(kRecordRate, 1).load(channelFileName(ChannelId::MPlayerMiss));
  const std::vector<Heard> heard = stretches(rec, static_cast<int>(rmsOf(*missSound) / 4));
  ASSERT_EQ(heard.size(), givenMs.size()) << "the cues were not heard apart";
  std::vector<double> overrunMs;
  for (std::size_t i = 0; i < heard.size(); ++i) {
    overrunMs.push_back(heard[i].ms() - givenMs[i]);
    std::cout << "stopped after " << givenMs[i] << " ms, heard for " << heard[i].ms() << " ms\n";
  }
  // A busy machine can only make a cut late. Without the drop, none ends
  // sooner than the device's queue allows (it holds up to 60 ms).
  EXPECT_LT(*std::min_element(overrunMs.begin(), overrunMs.end()), 12.0);
}

}  // namespace
}  // namespace wuffel

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Not while the build only lists the tests.
  std::optional<wuffel::PrivateServer> server;
  if (!GTEST_FLAG_GET(list_tests)) {
    server.emplace();  // before Qt looks for devices
    wuffel::server = &*server;
  }
  int result = 0;
  {
    QCoreApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  return result;
}
