// The controls held by modern keys, the mouse or touch on the HIT, UP and
// DOWN buttons, and gamepads: each press acts once, whatever else is held.
#include <algorithm>

#include "game/handheld.h"

namespace wuffel {

namespace {
// The key that the game's own handlers know a playing control by.
VirtualKey keyOf(Control control) {
  for (const auto& b : kPlayButtons)
    if (b.control == control) return b.key;
  return VirtualKey::Ctrl;
}
}  // namespace

void Handheld::controlDown(Control control, ControlSource source) {
  const auto arrival = arrived(input::ControlDown{control, source});
  dispatcher_.run([=, this] { pressControl(control, source); });
}

void Handheld::controlUp(Control control, ControlSource source) {
  const auto arrival = arrived(input::ControlUp{control, source});
  dispatcher_.run([=, this] { releaseControl(control, source); });
}

bool Handheld::isHeld(ControlSource source) const {
  return std::any_of(heldControls_.begin(), heldControls_.end(), [&](const auto& h) { return h.first == source; });
}

void Handheld::pressControl(Control control, ControlSource source) {
  // A held key's auto-repeat never acts.
  if (isHeld(source)) return;
  heldControls_.emplace_back(source, control);
  if (!paused_) return actOnPress(control);
  // Paused: the game's own controls are ignored and the face stays as it is.
  if (control == Control::Pause) resume();
  if (control == Control::Mute) changeSetting(Setting::Muted, !settings_.muted());
}

void Handheld::actOnPress(Control control) {
  switch (control) {
    case Control::Swing:
    case Control::Up:
    case Control::Down:
      // Modern keys know no latch across keys: a fresh press acts even while
      // another key is held. With the original keys a gamepad keeps the latch.
      if (settings_.modernKeys()) vars.KeyLatch = false;
      return FormKeyDown(keyOf(control));
    case Control::GameA: return gameButtonDown(ElementId::Puls_GameA, ElementId::Im_GameA, vars.HiScoreA, MouseButton::Left);
    case Control::GameB: return gameButtonDown(ElementId::Puls_GameB, ElementId::Im_GameB, vars.HiScoreB, MouseButton::Left);
    case Control::Time: return Puls_TimeMouseDown(MouseButton::Left);
    case Control::Pause:
      if (canPause()) pause();
      return;
    case Control::Mute: changeSetting(Setting::Muted, !settings_.muted()); return;
  }
}

void Handheld::releaseControl(Control control, ControlSource source) {
  std::erase_if(heldControls_, [&](const auto& h) { return h.first == source; });
  // A button stays pressed while anything else still holds it.
  if (std::any_of(heldControls_.begin(), heldControls_.end(), [&](const auto& h) { return h.second == control; }))
    return;
  switch (control) {
    case Control::Swing:
    case Control::Up:
    case Control::Down: return FormKeyUp(keyOf(control));
    case Control::GameA: return gameButtonUp(ElementId::Puls_GameA, GameModeValue::GameA, MouseButton::Left);
    case Control::GameB: return gameButtonUp(ElementId::Puls_GameB, GameModeValue::GameB, MouseButton::Left);
    case Control::Time: return Puls_TimeMouseUp(MouseButton::Left);
    case Control::Pause:
    case Control::Mute: return;
  }
}

}  // namespace wuffel
