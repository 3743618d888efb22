// Reading a scenario script: every line becomes one command, checked and
// parsed once, before anything runs.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "game/controls.h"
#include "game/inputs.h"
#include "game/menu_items.h"
#include "platform/input.h"
#include "platform/windows.h"
#include "sim/stand_ins.h"

namespace wuffel::sim {

// A value the settings store holds before the program starts.
struct StoredSetting {
  std::string name;
  bool isText;
  std::string text;  // a number's digits, for a non-text value
};

// What the setup commands before `start` ask for.
struct Setup {
  PlatformSetup platform;
  std::vector<StoredSetting> store;
  bool storeRefusesWrites = false;
  bool questionsWait = false;  // questions stay open until an `answer`
};

namespace command {
struct Start {};
struct At {
  std::int64_t time;
};
struct Wait {
  std::int64_t ms;
};
// The inputs as the handheld reports them.
using Press = input::Press;
using Move = input::Move;
using Release = input::Release;
using KeyDown = input::KeyDown;
using KeyUp = input::KeyUp;
struct Menu {
  MenuCommand item;
};
enum class SplashItem { Puls_Play, La_Email, La_Http };
struct Splash {
  SplashItem item;
};
struct Close {
  WindowId window;  // AboutForm or Form1
};
// The settings dialog's close box or Close button.
struct CloseSettingsForm {};
struct Activate {};
// The focus went to another program.
struct Deactivate {};
struct Dump {};
// How the player answers the open question, or else the questions that follow.
struct Answer {
  bool yes;
};
struct Control {
  wuffel::Control control;
  ControlSource source;
  bool down;
};
// A player's setting changed while the program runs.
struct Setting {
  wuffel::Setting setting;
  int value;
};
// A stall made a timer skip the ticks it missed: its next tick comes at `next`.
struct SkipTicks {
  int timerIndex;
  std::int64_t next;
};
// What a recording's end must be.
struct ExpectScore {
  std::int32_t score;
};
struct ExpectDigest {
  std::string digest;
};
}  // namespace command

using Command = std::variant<command::Start, command::At, command::Wait, command::Press, command::Move,
                             command::Release, command::KeyDown, command::KeyUp, command::Menu, command::Splash,
                             command::Close, command::CloseSettingsForm, command::Activate, command::Deactivate,
                             command::Dump, command::Answer, command::Control, command::Setting,
                             command::ExpectScore, command::ExpectDigest, command::SkipTicks>;

struct Script {
  Setup setup;
  std::vector<Command> events;  // from `start` on
};

struct ScriptError {
  int line;
  std::string message;
  bool unreadable = false;  // reading the line failed; `message` says why
};

// The whole script, or the first line that is malformed or cannot be read.
std::variant<Script, ScriptError> readScript(std::istream& in);
// The same from a whole text in memory.
std::variant<Script, ScriptError> readScript(std::string_view script);

}  // namespace wuffel::sim
