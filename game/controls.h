// The player's controls and the keys that work them. With the original keys
// only Ctrl, Up and Down play, one key at a time; with modern keys a press
// acts whatever else is held, Space and Z swing too, A, B and T work the
// GAME A, GAME B and TIME buttons, P pauses and M mutes. The mouse and touch
// on the HIT, UP and DOWN buttons and a gamepad work the same controls.
#pragma once

#include <array>
#include <optional>

#include "face/elements.h"

namespace wuffel {

// Virtual-key codes of the keys the game uses.
inline constexpr int kKeyCtrl = 17;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyA = 65;
inline constexpr int kKeyB = 66;
inline constexpr int kKeyM = 77;
inline constexpr int kKeyP = 80;
inline constexpr int kKeyT = 84;
inline constexpr int kKeyZ = 90;

enum class Control { Swing, Up, Down, GameA, GameB, Time, Pause, Mute };

struct ControlKey {
  int virtualKey;
  Control control;
};

inline constexpr std::array<ControlKey, 10> kModernKeys{{
    {kKeyCtrl, Control::Swing},
    {kKeySpace, Control::Swing},
    {kKeyZ, Control::Swing},
    {kKeyUp, Control::Up},
    {kKeyDown, Control::Down},
    {kKeyA, Control::GameA},
    {kKeyB, Control::GameB},
    {kKeyT, Control::Time},
    {kKeyP, Control::Pause},
    {kKeyM, Control::Mute},
}};

inline constexpr std::optional<Control> modernControlForKey(int virtualKey) {
  for (const auto& k : kModernKeys)
    if (k.virtualKey == virtualKey) return k.control;
  return std::nullopt;
}

// The handheld's buttons that, with modern keys, answer the mouse and touch like their keys.
inline constexpr std::optional<Control> controlOfButton(ElementId id) {
  switch (id) {
    case ElementId::Puls_Hit: return Control::Swing;
    case ElementId::Puls_Up: return Control::Up;
    case ElementId::Puls_Down: return Control::Down;
    default: return std::nullopt;
  }
}

// Whatever holds a control down: a virtual-key code for the keyboard, or a
// number below zero that the front end gives a pointer or a gamepad button,
// so that each can be held and released on its own.
using ControlSource = int;
inline constexpr ControlSource kMouseSource = -1;
inline constexpr ControlSource kFirstTouchSource = -100;     // then downwards, one per touch point
inline constexpr ControlSource kFirstGamepadSource = -1000;  // then downwards, one per pad button

}  // namespace wuffel
