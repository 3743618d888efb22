// Every event that reaches the handheld from outside, reported as it
// arrives, before its handler runs: what a recording keeps, and what lets
// a front end on a real clock bring its timers up to the moment first. Only
// the event the front end passed is reported, not the ones the handheld
// makes of it (a menu key's command, a modern key's control), except the
// answer to a question, which is the player's also when it came at once.
#pragma once

#include <cstdint>
#include <variant>

#include "game/controls.h"
#include "game/menu_items.h"
#include "platform/input.h"
#include "store/player_settings.h"

namespace wuffel {

namespace input {
struct Start {};
struct Activate {};
struct Deactivate {};
struct Press {
  int x, y;
  MouseButton button;
};
struct Move {
  int x, y;
  MouseButtons held;
};
struct Release {
  int x, y;
  MouseButton button;
};
struct KeyDown {
  VirtualKey key;
};
struct KeyUp {
  VirtualKey key;
};
enum class SplashLink { Play, Email, Http };
struct Splash {
  SplashLink link;
};
struct CloseAbout {};
struct CloseSettings {};
struct Menu {
  MenuCommand command;
};
struct ControlDown {
  Control control;
  ControlSource source;
};
struct ControlUp {
  Control control;
  ControlSource source;
};
struct ChangeSetting {
  Setting setting;
  int value;
};
struct RestoreDefaults {};
// The player answered the open question.
struct Answer {
  bool yes;
};
}  // namespace input

using Input = std::variant<input::Start, input::Activate, input::Deactivate, input::Press, input::Move,
                           input::Release, input::KeyDown, input::KeyUp, input::Splash, input::CloseAbout,
                           input::CloseSettings, input::Menu, input::ControlDown, input::ControlUp,
                           input::ChangeSetting, input::RestoreDefaults, input::Answer>;

class InputObserver {
 public:
  virtual ~InputObserver() = default;
  // Before an input is taken: a front end on a real clock brings its
  // timers up to the moment, each tick an event of its own.
  virtual void beforeInput() {}
  // Before the handler of each input from outside, and of each tick.
  virtual void eventArriving() {}
  virtual void inputArrived(const Input& input) = 0;
  // After the handler of each input from outside, and of each tick.
  virtual void eventHandled() {}
};

}  // namespace wuffel
