// The pause: every game timer and sound holds where it is and goes on from
// there on resume, so the game's timeline only shifts. The clock keeps the
// time of day.
#include <algorithm>

#include "game/handheld.h"

namespace wuffel {

bool Handheld::canPause() const { return vars.GameRunning && !paused_; }

void Handheld::pause() {
  paused_ = true;
  pauseHolder_ = PauseHolder::Player;
  for (auto id : kGameTimers) timer(id).suspend();
  ports_.sound.suspendAll();
  if (ports_.playerEvents) ports_.playerEvents->pauseChanged(true);
}

void Handheld::resume() {
  paused_ = false;
  for (auto id : kGameTimers) timer(id).resume();
  ports_.sound.resumeAll();
  if (ports_.playerEvents) ports_.playerEvents->pauseChanged(false);
}

void Handheld::deactivateMainWindow() {
  const auto arrival = arrived(input::Deactivate{});
  dispatcher_.run([this] {
    // Releases of keys held now go to the other program: forget the keys
    // rather than take their next press for an auto-repeat.
    std::erase_if(heldControls_, [](const auto& h) { return h.first >= 0; });
    if (settings_.pauseOnFocusLoss() && canPause()) pause();
  });
}

void Handheld::holdGameFor(PauseHolder holder) {
  if (!canPause()) return;
  pause();
  pauseHolder_ = holder;
}

void Handheld::releaseGameFrom(PauseHolder holder) {
  if (paused_ && pauseHolder_ == holder) resume();
}

void Handheld::closeSettingsForm() {
  const auto arrival = arrived(input::CloseSettings{});
  dispatcher_.run([this] { releaseGameFrom(PauseHolder::Settings); });
}

// While paused, a left click on the handheld resumes. The click and every
// other press while paused end there, with their moves and releases, so that
// no button of the handheld acts; a right click still opens the menu.
bool Handheld::pauseTakesPress(MouseButton button) {
  if (!paused_) return false;
  swallowedButtons_.push_back(button);
  if (button == MouseButton::Left) resume();
  return true;
}

bool Handheld::pauseTakesRelease(MouseButton button) {
  const auto it = std::find(swallowedButtons_.begin(), swallowedButtons_.end(), button);
  if (it == swallowedButtons_.end()) return false;
  swallowedButtons_.erase(it);
  return true;
}

}  // namespace wuffel
