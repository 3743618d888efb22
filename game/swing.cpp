// The player's keys: lane changes, the swing and its racket animation.
#include "game/handheld.h"

namespace wuffel {

void Handheld::keyDown(int virtualKey) {
  // The command menu's shortcut keys are taken before the window sees the key.
  if (const auto command = menuCommandForKey(virtualKey)) return chooseMenuItem(*command);
  if (settings_.modernKeys()) {
    if (const auto control = modernControlForKey(virtualKey)) controlDown(*control, virtualKey);
    return;
  }
  dispatcher_.run([this, virtualKey] {
    // With the original keys, P only resumes a game that the lost focus paused.
    if (!paused_) return FormKeyDown(virtualKey);
    if (virtualKey == kKeyP) resume();
  });
}

void Handheld::keyUp(int virtualKey) {
  if (settings_.modernKeys()) {
    if (const auto control = modernControlForKey(virtualKey)) controlUp(*control, virtualKey);
    return;
  }
  dispatcher_.run([this, virtualKey] { FormKeyUp(virtualKey); });
}

void Handheld::FormKeyDown(int key) {
  if (key == kKeyCtrl) {
    face.hide(ElementId::Puls_Hit);
    if (!(vars.PlayerActive && !vars.KeyLatch && vars.SwingReady)) return;
    vars.KeyLatch = true;
    vars.SwingReady = false;
    const int lane = vars.PlayerLane;
    face.hide(tables.pose(lane, Pose::FrameB));
    face.hide(tables.pose(lane, Pose::FrameC));
    face.show(tables.pose(lane, Pose::FrameA));
    auto& rallyCell = tables.rally(lane, kRacketRallyCell);
    const ElementId throwCell = tables.throwCell(lane, kRacketThrowCell);
    auto scored = [&](std::int32_t points) {
      vars.Score += points;
      TrasformaScore(vars.Score);
      channel(ChannelId::MPlayerBall).stop();
      channel(ChannelId::MPlayerBack).stop();
      channel(ChannelId::MPlayerHit).play();
    };
    if (face.visible(rallyCell.segment)) {
      vars.PlayerActive = true;
      face.hide(throwCell);
      rallyCell.incoming = false;
      rallyCell.outgoing = true;
      scored(vars.PointsRally);
    } else if (face.visible(throwCell)) {
      vars.PlayerActive = true;
      face.hide(throwCell);
      face.show(rallyCell.segment);
      rallyCell.outgoing = true;
      scored(vars.PointsThrown);
    } else {
      vars.PlayerActive = false;
    }
    timer(TimerId::TimerRacchetta).setEnabled(false);
    if (vars.ChanceStep != 1) timer(TimerId::TimerRacchetta).setEnabled(true);
    return;
  }
  if (key == kKeyUp || key == kKeyDown) {
    const bool up = key == kKeyUp;
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

void Handheld::FormKeyUp(int key) {
  if (key == kKeyCtrl) face.show(ElementId::Puls_Hit);
  if (key == kKeyUp) face.show(ElementId::Puls_Up);
  if (key == kKeyDown) face.show(ElementId::Puls_Down);
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
