// What the window system tells the handheld about the keyboard and the mouse.
#pragma once

namespace wuffel {

// Virtual-key codes, as the window system numbers the keys. Only the keys the
// handheld acts on are named; any other key arrives with its own code.
enum class VirtualKey : int {
  Ctrl = 17,
  Escape = 27,
  Space = 32,
  Up = 38,
  Down = 40,
  A = 65,
  B = 66,
  M = 77,
  P = 80,
  T = 84,
  Z = 90,
  F1 = 112,
  F2 = 113,
  F3 = 114,
  F4 = 115,
  F5 = 116,
};

// What a front end passes for a key the game has no use for: no handler
// acts on it, but its release still ends a held key's latch.
inline constexpr auto kOtherKey = static_cast<VirtualKey>(0);

enum class MouseButton { Left, Right, Middle };

// The buttons held during a mouse move.
struct MouseButtons {
  bool left = false;
  bool right = false;
  bool middle = false;
};

}  // namespace wuffel
