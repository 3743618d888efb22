// The player's controls and the keys that work them. With the original keys
// only Ctrl, Up and Down play, one key at a time; with modern keys a press
// acts whatever else is held, Space and Z swing too, A, B and T work the
// GAME A, GAME B and TIME buttons, P pauses and M mutes. The mouse and touch
// on the HIT, UP and DOWN buttons and a gamepad work the same controls.
#pragma once

#include <array>
#include <optional>

#include "face/elements.h"
#include "platform/input.h"

namespace wuffel {

enum class Control { Swing, Up, Down, GameA, GameB, Time, Pause, Mute };

struct ControlKey {
  VirtualKey key;
  Control control;
};

inline constexpr std::array<ControlKey, 10> kModernKeys{{
    {VirtualKey::Ctrl, Control::Swing},
    {VirtualKey::Space, Control::Swing},
    {VirtualKey::Z, Control::Swing},
    {VirtualKey::Up, Control::Up},
    {VirtualKey::Down, Control::Down},
    {VirtualKey::A, Control::GameA},
    {VirtualKey::B, Control::GameB},
    {VirtualKey::T, Control::Time},
    {VirtualKey::P, Control::Pause},
    {VirtualKey::M, Control::Mute},
}};

inline constexpr std::optional<Control> modernControlForKey(VirtualKey key) {
  for (const auto& k : kModernKeys)
    if (k.key == key) return k.control;
  return std::nullopt;
}

// The handheld's buttons that play: the key each stands for with the
// original keys, and the control it works with modern keys.
struct CaseButton {
  ElementId button;
  VirtualKey key;
  Control control;
};
inline constexpr std::array<CaseButton, 3> kPlayButtons{{
    {ElementId::Puls_Hit, VirtualKey::Ctrl, Control::Swing},
    {ElementId::Puls_Up, VirtualKey::Up, Control::Up},
    {ElementId::Puls_Down, VirtualKey::Down, Control::Down},
}};

inline constexpr const CaseButton* playButton(ElementId id) {
  for (const auto& b : kPlayButtons)
    if (b.button == id) return &b;
  return nullptr;
}

// Whatever holds a control down: a virtual-key code for the keyboard, or a
// number below zero that the front end gives a pointer or a gamepad button,
// so that each can be held and released on its own.
using ControlSource = int;
inline constexpr ControlSource sourceOfKey(VirtualKey key) { return static_cast<ControlSource>(key); }
inline constexpr ControlSource kMouseSource = -1;
inline constexpr ControlSource kFirstTouchSource = -100;     // then downwards, one per touch point
inline constexpr ControlSource kFirstGamepadSource = -1000;  // then downwards, one per pad button

}  // namespace wuffel
