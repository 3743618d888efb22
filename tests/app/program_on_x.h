// The window program run on an X server of the test's own, driven by
// xdotool: the helpers that the tests of the running program share.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/splash_window.h"
#include "platform/windows.h"

namespace wuffel::testing {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// How long any one step may take before the test gives up on it; a step
// normally takes well under a second, also with the sanitizers.
constexpr int kStepTimeoutSeconds = 20;

inline bool installed(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command; returns its standard output.
inline std::string shell(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[512];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

inline std::string xdotool(const std::string& args) {
  return shell("timeout " + std::to_string(kStepTimeoutSeconds) + " xdotool " + args + " 2>/dev/null");
}

inline std::string quoted(const std::string& s) { return "'" + s + "'"; }

// A window name as xdotool's pattern that matches just it.
inline std::string exactly(std::string_view name) {
  std::string pattern = "^";
  for (char c : name) {
    if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern + "$";
}

// The first window named `name`, once one is shown.
inline std::string shownWindow(std::string_view name) {
  std::istringstream ids(xdotool("search --sync --onlyvisible --name " + quoted(exactly(name))));
  std::string id;
  ids >> id;
  return id;
}

// The program's windows on the screen; a popup menu has no name to search by.
inline int countShown(pid_t program) {
  std::istringstream ids(xdotool("search --onlyvisible --pid " + std::to_string(program)));
  int n = 0;
  for (std::string id; ids >> id;) ++n;
  return n;
}

// Polls until `done` holds; false if it never did within the step timeout.
template <class Condition>
bool eventually(Condition done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(kStepTimeoutSeconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
};

inline Geometry geometryOf(const std::string& window) {
  std::map<std::string, int> values;
  std::istringstream lines(xdotool("getwindowgeometry --shell " + window));
  for (std::string line; std::getline(lines, line);) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
  }
  return {values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]};
}

inline void clickAt(int x, int y, int button = 1) {
  xdotool("mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click " + std::to_string(button));
}

// A child process with its output in a file; killed if still running at the end.
class Child {
 public:
  Child(const std::vector<std::string>& argv, const fs::path& cwd, const fs::path& log, int keepFd = -1) {
    pid_ = ::fork();
    if (pid_ != 0) return;
    if (::chdir(cwd.c_str()) != 0) ::_exit(127);
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, 1);
    ::dup2(out, 2);
    for (int fd = 3; fd < 1024; ++fd)
      if (fd != keepFd) ::close(fd);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ~Child() {
    if (pid_ <= 0 || exited_) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  // Waits for the end; false if the child is still running after the step timeout.
  bool waitForExit() {
    exited_ = eventually([this] { return ::waitpid(pid_, &status_, WNOHANG) == pid_; });
    return exited_;
  }
  int status() const { return status_; }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
  int status_ = 0;
};

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Presses "- PLAY -" on the splash window; the handheld's window once it
// shows, or "" if it never did.
inline std::string playFromSplash() {
  const std::string splash = shownWindow("About Wuffel Tennis...");
  if (splash.empty()) return {};
  // The client area is centred across the width and sits at the bottom,
  // inside the same border all round.
  const Geometry s = geometryOf(splash);
  const int border = (s.width - kSplashFormSize.width) / 2;
  const int clientLeft = s.x + border;
  const int clientTop = s.y + s.height - border - kSplashFormSize.height;
  clickAt(clientLeft + kPlayButtonBox.center().x(), clientTop + kPlayButtonBox.center().y());
  return shownWindow(kApplicationTitle);
}

// A folder of the test's own, removed at the end, with a home and a
// runtime folder; and an X server on a display it picks itself, so that
// parallel runs never meet. The environment points the program at them,
// and no sound server answers, so every run plays alike.
class XSession {
 public:
  explicit XSession(const std::string& name)
      : work_(fs::temp_directory_path() / ("wuffel-" + name + "-" + std::to_string(::getpid()))) {
    fs::remove_all(work_);
    fs::create_directories(work_ / "home");
    fs::create_directories(work_ / "runtime");
    fs::permissions(work_ / "runtime", fs::perms::owner_all);
    int displayPipe[2];
    if (::pipe(displayPipe) != 0) return;
    xserver_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(displayPipe[1]), "-noreset",
                                              "-nolisten", "tcp", "-screen", "0", "1024x768x24"},
                     work_, work_ / "xvfb.log", displayPipe[1]);
    ::close(displayPipe[1]);
    pollfd readable{displayPipe[0], POLLIN, 0};
    while (::poll(&readable, 1, kStepTimeoutSeconds * 1000) > 0) {
      char c;
      if (::read(displayPipe[0], &c, 1) != 1 || c == '\n') break;
      display_ += c;
    }
    ::close(displayPipe[0]);
    if (display_.empty()) return;
    ::setenv("DISPLAY", (":" + display_).c_str(), 1);
    ::setenv("HOME", (work_ / "home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (work_ / "home/.config").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (work_ / "runtime").c_str(), 1);
    ::setenv("PULSE_SERVER", ("unix:" + (work_ / "no-sound-server").string()).c_str(), 1);
    ::unsetenv("QT_QPA_PLATFORM");
    ::unsetenv("WAYLAND_DISPLAY");
  }
  ~XSession() {
    xserver_.reset();
    fs::remove_all(work_);
  }
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool started() const { return !display_.empty(); }
  std::string serverLog() const { return readFile(work_ / "xvfb.log"); }
  const fs::path& work() const { return work_; }

 private:
  fs::path work_;
  std::optional<Child> xserver_;
  std::string display_;
};

}  // namespace wuffel::testing
