// Times a key's way to the screen on an X display: sends Up and Down in
// turn to the window program's main window during a game, and waits for the
// repaint that moves the dog to reach the X server (a DAMAGE report on the
// window that covers two of the dog's lanes; the ball's own moves are left
// out). Prints one line per key, in milliseconds from the key's sending,
// and "none" where no such repaint came within 300 ms (a miss or a chance
// holds the dog).
// Usage: key_timer WINDOW ZOOM_PERCENT KEYS
#include <xcb/xcb.h>
#include <xcb/damage.h>
#include <xcb/xfixes.h>

#include <poll.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "x_keys.h"
#include "face/elements.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr xcb_keysym_t kUp = 0xff52;
constexpr xcb_keysym_t kDown = 0xff54;
constexpr std::array kLanes{wuffel::ElementId::Im_Wuffel1, wuffel::ElementId::Im_Wuffel2, wuffel::ElementId::Im_Wuffel3};

using bench::keycodeOf;
using bench::sendKey;

// Whether the damaged rectangles reach at least two of the dog's lanes.
bool movesTheDog(xcb_connection_t* c, xcb_xfixes_region_t region, int zoom) {
  auto* reply = xcb_xfixes_fetch_region_reply(c, xcb_xfixes_fetch_region(c, region), nullptr);
  if (!reply) return false;
  const xcb_rectangle_t* rects = xcb_xfixes_fetch_region_rectangles(reply);
  const int n = xcb_xfixes_fetch_region_rectangles_length(reply);
  int lanes = 0;
  for (const auto lane : kLanes) {
    const auto& e = wuffel::elementInfo(lane);
    const int left = e.left * zoom / 100, top = e.top * zoom / 100;
    const int right = (e.left + e.width) * zoom / 100, bottom = (e.top + e.height) * zoom / 100;
    for (int i = 0; i < n; ++i)
      if (rects[i].x < right && rects[i].x + rects[i].width > left && rects[i].y < bottom &&
          rects[i].y + rects[i].height > top) {
        ++lanes;
        break;
      }
  }
  std::free(reply);
  return lanes >= 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: key_timer WINDOW ZOOM_PERCENT KEYS\n");
    return 2;
  }
  const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
  const int zoom = std::atoi(argv[2]);
  const int keys = std::atoi(argv[3]);
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) { std::fprintf(stderr, "no display\n"); return 2; }
  std::free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
  std::free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 2, 0), nullptr));
  const xcb_query_extension_reply_t* damageExt = xcb_get_extension_data(c, &xcb_damage_id);
  const xcb_keycode_t up = keycodeOf(c, kUp), down = keycodeOf(c, kDown);
  if (!up || !down) { std::fprintf(stderr, "no arrow keys\n"); return 2; }
  const xcb_damage_damage_t damage = xcb_generate_id(c);
  xcb_damage_create(c, damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
  const xcb_xfixes_region_t region = xcb_generate_id(c);
  xcb_xfixes_create_region(c, region, 0, nullptr);
  xcb_flush(c);

  // Takes what was damaged; true when it moved the dog.
  auto takeDamage = [&] {
    xcb_damage_subtract(c, damage, XCB_NONE, region);
    return movesTheDog(c, region, zoom);
  };
  // Waits up to `ms` for an event; null when none came.
  auto waitEvent = [&](int ms) -> xcb_generic_event_t* {
    if (xcb_generic_event_t* e = xcb_poll_for_event(c)) return e;
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    if (::poll(&fd, 1, ms) <= 0) return nullptr;
    return xcb_poll_for_event(c);
  };
  // Lets the game's own repaints settle before each key.
  auto drain = [&] {
    takeDamage();
    while (xcb_generic_event_t* e = waitEvent(5)) std::free(e);
    takeDamage();
  };

  for (int k = 0; k < keys; ++k) {
    drain();
    const xcb_keycode_t key = k % 2 ? down : up;
    sendKey(c, window, key, XCB_KEY_PRESS);
    xcb_flush(c);
    const auto sent = Clock::now();
    double ms = -1;
    while (ms < 0) {
      const int left = 300 - static_cast<int>(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
      if (left <= 0) break;
      xcb_generic_event_t* e = waitEvent(left);
      if (!e) break;
      const bool damaged = (e->response_type & 0x7f) == damageExt->first_event + XCB_DAMAGE_NOTIFY;
      std::free(e);
      if (damaged && takeDamage()) ms = std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
    }
    sendKey(c, window, key, XCB_KEY_RELEASE);
    xcb_flush(c);
    if (ms < 0) std::printf("none\n");
    else std::printf("%.3f\n", ms);
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  xcb_disconnect(c);
  return 0;
}
