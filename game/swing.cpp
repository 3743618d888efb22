// The player's keys: lane changes, the swing and its racket animation.
#include "game/handheld.h"

namespace wuffel {

void Handheld::keyDown(VirtualKey key) {
  const auto arrival = arrived(input::KeyDown{key});
  // The command menu's shortcut keys are taken before the window sees the key.
  if (const auto command = menuCommandForKey(key)) return chooseMenuItem(*command);
  if (settings_.modernKeys()) {
    if (const auto control = modernControlForKey(key)) controlDown(*control, sourceOfKey(key));
    return;
  }
  dispatcher_.run([this, key] {
    // With the original keys, P only resumes a game that the lost focus paused.
    if (!paused_) return FormKeyDown(assistKey(key));
    if (key == VirtualKey::P) resume();
  });
}

void Handheld::keyUp(VirtualKey key) {
  const auto arrival = arrived(input::KeyUp{key});
  if (settings_.modernKeys()) {
    if (const auto control = modernControlForKey(key)) controlUp(*control, sourceOfKey(key));
    return;
  }
  dispatcher_.run([this, key] { FormKeyUp(assistKey(key)); });
}

// With the assist Space swings as Ctrl does, also with the original keys.
VirtualKey Handheld::assistKey(VirtualKey key) const {
  return settings_.assist() && key == VirtualKey::Space ? VirtualKey::Ctrl : key;
}

void Handheld::FormKeyDown(VirtualKey key) {
  if (key == VirtualKey::Ctrl) {
    face.hide(ElementId::Puls_Hit);
    if (!(vars.PlayerActive && !vars.KeyLatch && vars.SwingReady)) return;
    vars.KeyLatch = true;
    vars.SwingReady = false;
    const int lane = vars.PlayerLane;
    face.hide(tables.pose(lane, Pose::FrameB));
    face.hide(tables.pose(lane, Pose::FrameC));
    face.show(tables.pose(lane, Pose::FrameA));
    auto& rallyFlags = rally.cell(lane, kRacketRallyCell);
    const ElementId rallyCell = tables.rallyCell(lane, kRacketRallyCell);
    const ElementId throwCell = tables.throwCell(lane, kRacketThrowCell);
    auto scored = [&](std::int32_t points) {
      vars.Score += points;
      TrasformaScore(vars.Score);
      channel(ChannelId::MPlayerBall).stop();
      channel(ChannelId::MPlayerBack).stop();
      channel(ChannelId::MPlayerHit).play();
      tell(&GameEvents::scored, vars.Score);
    };
    if (face.visible(rallyCell)) {
      vars.PlayerActive = true;
      face.hide(throwCell);
      rallyFlags.incoming = false;
      rallyFlags.outgoing = true;
      scored(vars.PointsRally);
    } else if (face.visible(throwCell)) {
      vars.PlayerActive = true;
      face.hide(throwCell);
      face.show(rallyCell);
      rallyFlags.outgoing = true;
      scored(vars.PointsThrown);
    } else {
      vars.PlayerActive = false;
    }
    timer(TimerId::TimerRacchetta).setEnabled(false);
    if (vars.ChanceStep != 1) timer(TimerId::TimerRacchetta).setEnabled(true);
    return;
  }
  // With the assist the player moves by itself.
  if ((key == VirtualKey::Up || key == VirtualKey::Down) && !settings_.assist()) {
    const bool up = key == VirtualKey::Up;
    face.hide(up ? ElementId::Puls_Up : ElementId::Puls_Down);
    const bool canMove = up ? vars.PlayerLane > 1 : vars.PlayerLane < kLanes;
    if (!(vars.PlayerActive && !vars.KeyLatch && canMove)) return;
    vars.KeyLatch = true;
    vars.SwingReady = true;
    NascondiWuffel();
    vars.PlayerLane += up ? -1 : 1;
    MostraWuffel();
  }
}

void Handheld::FormKeyUp(VirtualKey key) {
  if (key == VirtualKey::Ctrl) face.show(ElementId::Puls_Hit);
  if (key == VirtualKey::Up) face.show(ElementId::Puls_Up);
  if (key == VirtualKey::Down) face.show(ElementId::Puls_Down);
  vars.KeyLatch = false;
}

void Handheld::TimerRacchettaTimer() {
  const int lane = vars.PlayerLane;
  if (face.visible(tables.pose(lane, Pose::FrameB))) {
    face.hide(tables.pose(lane, Pose::FrameB));
    face.show(tables.pose(lane, Pose::FrameC));
    timer(TimerId::TimerRacchetta).setEnabled(false);
    vars.PlayerActive = true;
    vars.SwingReady = true;
  }
  if (face.visible(tables.pose(lane, Pose::FrameA))) {
    face.hide(tables.pose(lane, Pose::FrameA));
    face.show(tables.pose(lane, Pose::FrameB));
  }
}

}  // namespace wuffel
