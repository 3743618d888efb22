// The window program itself, played briefly on an X server of its own: the
// splash window, "- PLAY -", a game of Game A with a few keys, the command
// menu, Esc. It must end by itself with status 0 and, in a sanitized build,
// with no sanitizer report.
#include <fcntl.h>
#include <gtest/gtest.h>
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
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/splash_window.h"
#include "face/elements.h"
#include "platform/windows.h"

namespace wuffel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// How long any one step may take before the test gives up on it; a step
// normally takes well under a second, also with the sanitizers.
constexpr int kStepTimeoutSeconds = 20;

bool installed(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command; returns its standard output.
std::string shell(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[512];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

std::string xdotool(const std::string& args) {
  return shell("timeout " + std::to_string(kStepTimeoutSeconds) + " xdotool " + args + " 2>/dev/null");
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// A window name as xdotool's pattern that matches just it.
std::string exactly(std::string_view name) {
  std::string pattern = "^";
  for (char c : name) {
    if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern + "$";
}

// The first window named `name`, once one is shown.
std::string shownWindow(std::string_view name) {
  std::istringstream ids(xdotool("search --sync --onlyvisible --name " + quoted(exactly(name))));
  std::string id;
  ids >> id;
  return id;
}

// The program's windows on the screen; a popup menu has no name to search by.
int countShown(pid_t program) {
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

Geometry geometryOf(const std::string& window) {
  std::map<std::string, int> values;
  std::istringstream lines(xdotool("getwindowgeometry --shell " + window));
  for (std::string line; std::getline(lines, line);) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
  }
  return {values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]};
}

void clickAt(int x, int y, int button = 1) {
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

std::string readFile(const fs::path& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(WindowProgram, PlaysAGameOpensTheMenuAndEndsWithEscCleanly) {
  for (const char* tool : {"Xvfb", "xdotool", "timeout"})
    if (!installed(tool)) GTEST_SKIP() << tool << " is not installed (see tools/debian-packages)";

  const fs::path work = fs::temp_directory_path() / ("wuffel-window-program-" + std::to_string(::getpid()));
  struct Cleanup {
    fs::path folder;
    ~Cleanup() { fs::remove_all(folder); }
  } cleanup{work};
  fs::remove_all(work);
  fs::create_directories(work / "home");
  fs::create_directories(work / "runtime");
  fs::permissions(work / "runtime", fs::perms::owner_all);

  // An X server on a display it picks itself, so parallel runs never meet.
  int displayPipe[2];
  ASSERT_EQ(::pipe(displayPipe), 0);
  Child xserver({"Xvfb", "-displayfd", std::to_string(displayPipe[1]), "-noreset", "-nolisten", "tcp", "-screen",
                 "0", "1024x768x24"},
                work, work / "xvfb.log", displayPipe[1]);
  ::close(displayPipe[1]);
  std::string display;
  pollfd readable{displayPipe[0], POLLIN, 0};
  while (::poll(&readable, 1, kStepTimeoutSeconds * 1000) > 0) {
    char c;
    if (::read(displayPipe[0], &c, 1) != 1 || c == '\n') break;
    display += c;
  }
  ::close(displayPipe[0]);
  ASSERT_FALSE(display.empty()) << "Xvfb did not start:\n" << readFile(work / "xvfb.log");

  // The best scores go to a home of the test's own, and no sound server
  // answers, so every run plays alike.
  ::setenv("DISPLAY", (":" + display).c_str(), 1);
  ::setenv("HOME", (work / "home").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (work / "home/.config").c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", (work / "runtime").c_str(), 1);
  ::setenv("PULSE_SERVER", ("unix:" + (work / "no-sound-server").string()).c_str(), 1);
  ::unsetenv("QT_QPA_PLATFORM");
  ::unsetenv("WAYLAND_DISPLAY");
  const fs::path log = work / "program.log";
  Child program({WUFFEL_PROGRAM}, WUFFEL_SOURCE_DIR, log);

  const std::string splash = shownWindow("About Wuffel Tennis...");
  ASSERT_FALSE(splash.empty()) << readFile(log);
  // The client area is centred across the width and sits at the bottom,
  // inside the same border all round.
  const Geometry s = geometryOf(splash);
  const int border = (s.width - kSplashFormSize.width) / 2;
  const int clientLeft = s.x + border;
  const int clientTop = s.y + s.height - border - kSplashFormSize.height;
  clickAt(clientLeft + kPlayButtonBox.center().x(), clientTop + kPlayButtonBox.center().y());

  const std::string handheld = shownWindow(kApplicationTitle);
  ASSERT_FALSE(handheld.empty()) << readFile(log);
  const Geometry h = geometryOf(handheld);
  auto centreOf = [&h](ElementId id) {
    const ElementInfo& e = elementInfo(id);
    return std::pair{h.x + e.left + e.width / 2, h.y + e.top + e.height / 2};
  };

  const auto [gameX, gameY] = centreOf(ElementId::Puls_GameA);
  clickAt(gameX, gameY);
  xdotool("key --delay 150 Up Control_L Down Control_L Down Control_L Up Control_L");

  const auto [faceX, faceY] = centreOf(ElementId::Im_BaseTop);
  clickAt(faceX, faceY, 3);
  EXPECT_TRUE(eventually([&] { return countShown(program.pid()) == 2; })) << "no command menu";
  xdotool("key Escape");
  EXPECT_TRUE(eventually([&] { return countShown(program.pid()) == 1; })) << "the menu stayed open";
  xdotool("key Escape");

  ASSERT_TRUE(program.waitForExit()) << "still running after Esc\n" << readFile(log);
  const std::string output = readFile(log);
  bool reported = false;
  for (const char* report : {"AddressSanitizer", "LeakSanitizer", "runtime error:"})
    reported = reported || output.find(report) != std::string::npos;
  const bool exitedWithZero = WIFEXITED(program.status()) && WEXITSTATUS(program.status()) == 0;
  EXPECT_TRUE(exitedWithZero && !reported) << "status " << program.status() << "\n" << output;
}

}  // namespace
}  // namespace wuffel
