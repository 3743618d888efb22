// Keys sent to a window on an X display, for the benchmarks that time what
// a key does: the keycode of a keysym, and a synthetic press or release.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>

namespace bench {

inline xcb_keycode_t keycodeOf(xcb_connection_t* c, xcb_keysym_t sym) {
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

// `type` is XCB_KEY_PRESS or XCB_KEY_RELEASE.
inline void sendKey(xcb_connection_t* c, xcb_window_t window, xcb_keycode_t key, uint8_t type) {
  xcb_key_press_event_t e{};
  e.response_type = type;
  e.detail = key;
  e.root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  e.event = window;
  e.same_screen = 1;
  const uint32_t mask = type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE;
  xcb_send_event(c, 0, window, mask, reinterpret_cast<const char*>(&e));
}

}  // namespace bench
