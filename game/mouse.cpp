// Mouse events: routing to the element under the pointer (a left press
// captures the mouse until its release), dragging the borderless window, and
// the command menu that a right click on the window pops up.
#include "game/handheld.h"

namespace wuffel {

namespace {
bool isFace(ElementId id) { return id == ElementId::Im_Base || id == ElementId::Im_BaseTop; }
}  // namespace

void Handheld::mousePress(int x, int y, MouseButton button) {
  const auto arrival = arrived(input::Press{x, y, button});
  const auto target = mouseTarget(x, y);
  if (!target) return;
  bool taken = false;
  dispatcher_.run([&] { taken = pauseTakesPress(button); });
  if (taken) return;
  if (button == MouseButton::Left) capture_ = target;
  const auto& s = elementInfo(*target);
  dispatcher_.run([&] { elementMouseDown(*target, button, x - s.left, y - s.top); });
}

void Handheld::mouseMove(int x, int y, MouseButtons held) {
  const auto arrival = arrived(input::Move{x, y, held});
  const auto target = mouseTarget(x, y);
  if (!target || pauseTakesMove()) return;
  const auto& s = elementInfo(*target);
  dispatcher_.run([&] { elementMouseMove(*target, held, x - s.left, y - s.top); });
}

void Handheld::mouseRelease(int x, int y, MouseButton button) {
  const auto arrival = arrived(input::Release{x, y, button});
  const auto target = mouseTarget(x, y);
  if (button == MouseButton::Left) capture_.reset();
  const bool taken = pauseTakesRelease(button);
  if (target && !taken) dispatcher_.run([&] { elementMouseUp(*target, button); });
  // The menu comes as a message of its own after the release, also when the
  // release handler failed.
  if (button == MouseButton::Right && elementInfo(ElementId::Im_Base).contains(x, y))
    ports_.windows.popupMenu(x, y);
}

void Handheld::elementMouseDown(ElementId id, MouseButton button, int x, int y) {
  if (assistSwingsFor(id, button)) pressControl(Control::Swing, kMouseSource);
  if (isFace(id)) return Im_BaseMouseDown(button, x, y);
  switch (id) {
    case ElementId::Puls_GameA: return gameButtonDown(id, ElementId::Im_GameA, vars.HiScoreA, button);
    case ElementId::Puls_GameB: return gameButtonDown(id, ElementId::Im_GameB, vars.HiScoreB, button);
    case ElementId::Puls_ACL: return Puls_ACLMouseDown();
    case ElementId::Puls_Time: return Puls_TimeMouseDown(button);
    default: break;
  }
  // With modern keys the HIT, UP and DOWN buttons answer the mouse like their keys.
  if (const auto* play = playButton(id); play && settings_.modernKeys() && !settings_.assist() && button == MouseButton::Left)
    pressControl(play->control, kMouseSource);
}

void Handheld::elementMouseMove(ElementId id, MouseButtons held, int x, int y) {
  if (isFace(id)) Im_BaseMouseMove(held, x, y);
}

void Handheld::elementMouseUp(ElementId id, MouseButton button) {
  if (assistSwingsFor(id, button)) return releaseControl(Control::Swing, kMouseSource);
  switch (id) {
    case ElementId::Puls_GameA: return gameButtonUp(id, GameModeValue::GameA, button);
    case ElementId::Puls_GameB: return gameButtonUp(id, GameModeValue::GameB, button);
    case ElementId::Puls_ACL: return Puls_ACLMouseUp();
    case ElementId::Puls_Time: return Puls_TimeMouseUp(button);
    default: break;
  }
  if (const auto* play = playButton(id); play && settings_.modernKeys() && !settings_.assist() && button == MouseButton::Left)
    releaseControl(play->control, kMouseSource);
}

void Handheld::Im_BaseMouseDown(MouseButton, int x, int y) {
  vars.DragOriginX = x;
  vars.DragOriginY = y;
}

void Handheld::Im_BaseMouseMove(MouseButtons held, int x, int y) {
  if (!held.left) return;
  auto& w = ports_.windows;
  auto pos = w.position(WindowId::Form1);
  // Top first, then left, as two separate moves.
  pos.top += y - vars.DragOriginY;
  w.moveTo(WindowId::Form1, pos);
  pos.left += x - vars.DragOriginX;
  w.moveTo(WindowId::Form1, pos);
}

}  // namespace wuffel
