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

namespace {

constexpr xcb_keysym_t kEscape = 0xff1b;

xcb_keycode_t keycodeOf(xcb_connection_t* c, xcb_keysym_t sym) {
  const xcb_setup_t* setup = xcb_get_setup(c);
  const int count = setup->max_keycode - setup->min_keycode + 1;
  auto* map = xcb_get_keyboard_mapping_reply(
      c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<uint8_t>(count)), nullptr);
  xcb_keycode_t found = 0;
  if (map) {
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    for (int k = 0; k < count && !found; ++k)
      for (int s = 0; s < map->keysyms_per_keycode; ++s)
        if (syms[k * map->keysyms_per_keycode + s] == sym) found = static_cast<xcb_keycode_t>(setup->min_keycode + k);
    std::free(map);
  }
  return found;
}

void sendKey(xcb_connection_t* c, xcb_window_t window, xcb_keycode_t key, uint8_t type) {
  xcb_key_press_event_t e{};
  e.response_type = type;
  e.detail = key;
  e.root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  e.event = window;
  e.same_screen = 1;
  const uint32_t mask = type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE;
  xcb_send_event(c, 0, window, mask, reinterpret_cast<const char*>(&e));
}

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
