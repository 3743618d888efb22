#include "tests/sound/private_sound_server.h"

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
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

namespace wuffel::test {

namespace fs = std::filesystem;

namespace {

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

bool exited(pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) == pid; }

}  // namespace

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

void finish(pid_t& pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (exited(pid)) {
      pid = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  pid = -1;
}

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

PrivateServer::PrivateServer(bool startNow) {
  dir_ = fs::temp_directory_path() / ("wuffel-pulse-" + std::to_string(::getpid()));
  fs::remove_all(dir_);
  fs::create_directories(dir_ / "run");
  ::chmod(dir_.c_str(), 0700);
  if (!onPath("pulseaudio") || !onPath("parec") || !onPath("pactl")) {
    why_ = "pulseaudio, parec or pactl is not installed";
    return;
  }
  installed_ = true;
  ::setenv("PULSE_RUNTIME_PATH", (dir_ / "run").c_str(), 1);
  ::setenv("PULSE_STATE_PATH", (dir_ / "state").c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
  ::setenv("PULSE_SERVER", ("unix:" + (dir_ / "native").string()).c_str(), 1);
  ::setenv("PULSE_SINK", kSink, 1);
  ::unsetenv("PULSE_SOURCE");
  // Cookie and client settings from a home of its own.
  ::setenv("HOME", dir_.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  if (startNow) start();
}

PrivateServer::~PrivateServer() {
  finish(pid_);
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

bool PrivateServer::start() {
  if (!installed_) return false;
  if (running()) return true;
  const fs::path socket = dir_ / "native";
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
      return false;
    }
    if (fs::exists(socket) && run({"pactl", "info"}, dir_ / "pactl.log") == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  why_ = "the sound server did not answer within 30 s: " + readFile(dir_ / "server.log");
  finish(pid_);
  return false;
}

void PrivateServer::kill() {
  if (!running()) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

std::string PrivateServer::sinkInputs() const {
  const fs::path out = dir_ / "sink-inputs.txt";
  run({"pactl", "list", "sink-inputs"}, out);
  return readFile(out);
}

Recorder::Recorder(const fs::path& file) : file_(file) {
  pid_ = spawn({"parec", "--device=" + std::string(kSink) + ".monitor", "--raw", "--format=s16le",
                "--channels=1", "--rate=" + std::to_string(kRecordRate), "--latency-msec=20"},
               file_);
}

Recorder::~Recorder() { finish(pid_); }

bool Recorder::waitForData() {
  for (int i = 0; i < 3000 && pid_ > 0 && !exited(pid_); ++i) {
    if (hasData()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

bool Recorder::hasData() const {
  std::error_code ec;
  return fs::file_size(file_, ec) > 0 && !ec;
}

std::vector<std::int16_t> Recorder::stop() {
  finish(pid_);
  const std::string bytes = readFile(file_);
  std::vector<std::int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

void spin(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

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

namespace {
constexpr double kToneHz = 440;
}  // namespace

std::vector<double> dropouts(const std::vector<std::int16_t>& rec) {
  // A sine of this amplitude stays below it for a few microseconds at each
  // zero crossing; a millisecond below it is a hole in the sound.
  constexpr int kSilence = kToneAmplitude / 50;
  constexpr std::size_t kShortest = kRecordRate / 1000;
  const Heard sounding = listen(rec, kToneAmplitude / 3);
  std::vector<double> found;
  std::size_t quiet = 0;
  for (std::size_t i = sounding.first; i <= sounding.last && i < rec.size(); ++i) {
    if (std::abs(int(rec[i])) < kSilence) {
      ++quiet;
      continue;
    }
    if (quiet >= kShortest) found.push_back(quiet * 1000.0 / kRecordRate);
    quiet = 0;
  }
  return found;
}

SoundPtr tone(int sampleRate, int channels, int ms, int amplitude) {
  auto sound = std::make_shared<DecodedSound>();
  sound->sampleRate = sampleRate;
  sound->channels = channels;
  sound->lengthMs = ms;
  const std::int64_t frames = std::int64_t{sampleRate} * ms / 1000;
  sound->samples.reserve(static_cast<std::size_t>(frames * channels));
  for (std::int64_t i = 0; i < frames; ++i) {
    const auto v = static_cast<std::int16_t>(amplitude * std::sin(2 * M_PI * kToneHz * double(i) / sampleRate));
    for (int c = 0; c < channels; ++c) sound->samples.push_back(v);
  }
  return sound;
}

double rmsOf(const DecodedSound& s) {
  double sum = 0;
  for (std::int16_t v : s.samples) sum += double(v) * v;
  return std::sqrt(sum / double(s.samples.size()));
}

}  // namespace wuffel::test
