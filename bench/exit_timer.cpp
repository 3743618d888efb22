// Times a program's exit on an X display: sends Escape to one of its
// windows and waits for the process to end. Prints the milliseconds from
// the key's sending to the end.
// Usage: exit_timer PID WINDOW
#include <xcb/xcb.h>

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "x_keys.h"

namespace {

constexpr xcb_keysym_t kEscape = 0xff1b;

using bench::keycodeOf;
using bench::sendKey;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: exit_timer PID WINDOW\n");
    return 2;
  }
  const pid_t pid = static_cast<pid_t>(std::atoi(argv[1]));
  const auto window = static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0));
  const int process = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (process < 0) { std::perror("pidfd_open"); return 2; }
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) { std::fprintf(stderr, "no display\n"); return 2; }
  const xcb_keycode_t escape = keycodeOf(c, kEscape);
  if (!escape) { std::fprintf(stderr, "no Escape key\n"); return 2; }

  sendKey(c, window, escape, XCB_KEY_PRESS);
  sendKey(c, window, escape, XCB_KEY_RELEASE);
  xcb_flush(c);
  const auto sent = std::chrono::steady_clock::now();
  pollfd ended{process, POLLIN, 0};
  if (::poll(&ended, 1, 10000) != 1) {
    std::printf("still running after 10 s\n");
    return 1;
  }
  std::printf("%.1f\n", std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sent).count());
  xcb_disconnect(c);
  return 0;
}
