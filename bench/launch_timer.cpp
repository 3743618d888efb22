// Times a program from its start to its first top-level window, on an X
// display: when the window is mapped and when it is first drawn on.
#include <xcb/xcb.h>
#include <xcb/damage.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: launch_timer program [args...]\n");
    return 2;
  }
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) { std::fprintf(stderr, "no display\n"); return 2; }
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
  auto* dv = xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr);
  const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_damage_id);
  free(dv);
  xcb_damage_damage_t damage = xcb_generate_id(c);
  xcb_damage_create(c, damage, screen->root, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
  xcb_flush(c);
  // drain anything pending before the launch
  while (xcb_generic_event_t* e = xcb_poll_for_event(c)) free(e);
  xcb_damage_subtract(c, damage, XCB_NONE, XCB_NONE);
  xcb_flush(c);
  while (xcb_generic_event_t* e = xcb_poll_for_event(c)) free(e);

  const auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  double mappedMs = -1, drawnMs = -1;
  auto since = [&] {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  };
  while (drawnMs < 0) {
    xcb_generic_event_t* e = xcb_wait_for_event(c);
    if (!e) break;
    const int type = e->response_type & 0x7f;
    if (type == XCB_MAP_NOTIFY) {
      auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
      if (!m->override_redirect && mappedMs < 0) mappedMs = since();
    } else if (type == ext->first_event + XCB_DAMAGE_NOTIFY) {
      if (mappedMs >= 0) drawnMs = since();
      xcb_damage_subtract(c, damage, XCB_NONE, XCB_NONE);
      xcb_flush(c);
    }
    free(e);
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  std::printf("%.1f %.1f\n", mappedMs, drawnMs);
  return 0;
}
