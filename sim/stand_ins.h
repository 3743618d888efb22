// The stand-ins for the platform that the scenario runner, the tests and
// the benchmarks give the handheld: virtual times of day, windows and a
// desktop that keep what they were asked, and sound files with scripted
// faults. Each tells an EventLog, when given one, in the trace's words.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/keyboard_focus.h"
#include "platform/ports.h"
#include "sim/event_log.h"
#include "platform/virtual_scheduler.h"
#include "sound/channel.h"
#include "sound/wave_file_loader.h"

namespace wuffel::sim {

// What a script sets before the program starts, besides the store.
struct PlatformSetup {
  std::int64_t utcAtZero = 0;    // ms since midnight at virtual time 0
  std::int64_t localAtZero = 0;  // ms since midnight at virtual time 0
  int screenWidth = 1920;
  int screenHeight = 1080;
  std::string soundDir;                              // empty: SOUND in the working directory
  std::set<std::string> soundMissing;                // file names in capitals
  std::map<std::string, std::int64_t> soundLengths;  // ms, by file name in capitals
};

// Both times of day start where they are set and advance with virtual
// time; the UTC one wraps at midnight.
class VirtualTimeOfDay : public TimeOfDay {
 public:
  VirtualTimeOfDay(const VirtualScheduler& clock, std::int64_t utcAtZero, std::int64_t localAtZero)
      : clock_(clock), utcAtZero_(utcAtZero), localAtZero_(localAtZero) {}
  int utcMillisecondsSinceMidnight() const override;
  LocalTime localTime() const override;
  // As if the clocks had been set so at virtual time 0.
  void setUtcAtZero(std::int64_t ms) { utcAtZero_ = ms; }
  void setLocalAtZero(std::int64_t ms) { localAtZero_ = ms; }

 private:
  const VirtualScheduler& clock_;
  std::int64_t utcAtZero_;
  std::int64_t localAtZero_;
};

class VirtualMediaClock : public MediaClock {
 public:
  explicit VirtualMediaClock(const VirtualScheduler& clock) : clock_(clock) {}
  std::int64_t nowMs() const override { return clock_.now(); }

 private:
  const VirtualScheduler& clock_;
};

// The three windows on a screen of a given size. A click activates a window
// and the active one has the keyboard; hiding it hands the activation to
// the window active before it.
class StandInWindows : public WindowSystem {
 public:
  StandInWindows(int screenWidth, int screenHeight, EventLog* log);

  void show(WindowId id) override { setShown(id, true); }
  void hide(WindowId id) override;
  void bringToFront(WindowId id) override;
  WindowPosition position(WindowId id) const override { return state_.at(id).position; }
  void moveTo(WindowId id, WindowPosition position) override;
  int screenWidth() const override { return screenWidth_; }
  int screenHeight() const override { return screenHeight_; }
  int windowWidth(WindowId id) const override { return state_.at(id).size.width; }
  int windowHeight(WindowId id) const override { return state_.at(id).size.height; }
  void popupMenu(int x, int y) override;

  void activate(WindowId id) { focus_.activate(id); }
  // The focus went to another program.
  void deactivate(WindowId id) { focus_.deactivate(id); }
  bool isActive(WindowId id) const { return focus_.has(id); }
  bool isShown(WindowId id) const { return state_.at(id).shown; }

  struct Move {
    WindowId window;
    WindowPosition to;
  };
  // What the program asked for, in order.
  std::vector<WindowId> broughtToFront;
  std::vector<Move> moves;
  std::vector<WindowPosition> popups;

 private:
  void setShown(WindowId id, bool shown);
  void log(const std::string& text) const;

  struct State {
    WindowPosition position;
    bool shown;
    WindowSize size;
  };
  EventLog* log_;
  int screenWidth_;
  int screenHeight_;
  std::map<WindowId, State> state_;
  KeyboardFocus focus_;
};

class StandInErrorBox : public ErrorBox {
 public:
  explicit StandInErrorBox(EventLog* log) : log_(log) {}
  void showError(const std::string& message) override;
  std::vector<std::string> shown;

 private:
  EventLog* log_;
};

// Answers every question at once, as the script last said: yes unless told
// otherwise.
class StandInQuestionBox : public QuestionBox {
 public:
  explicit StandInQuestionBox(EventLog* log) : log_(log) {}
  void ask(const std::string& question, std::function<void(bool yes)> answered) override;
  bool answer = true;
  std::vector<std::string> asked;

 private:
  EventLog* log_;
};

class StandInShell : public Shell {
 public:
  explicit StandInShell(EventLog* log) : log_(log) {}
  void open(const std::string& target) override;
  std::vector<std::string> opened;

 private:
  EventLog* log_;
};

class StandInBeep : public SystemBeep {
 public:
  explicit StandInBeep(EventLog* log) : log_(log) {}
  void beep() override;
  int beeps = 0;

 private:
  EventLog* log_;
};

// The end of the message loop is the caller's to carry out.
class StandInMessageLoop : public MessageLoop {
 public:
  void quit() override { ++quits; }
  int quits = 0;
};

// Scripts name sound files without their folders, in any case.
std::string_view fileNameOf(std::string_view path);
std::string inCapitals(std::string_view text);

// The channels' files, in a folder of their own when one is given (else
// SOUND below the working directory), with stand-ins for a missing file and
// for a file's length.
class StandInSoundFiles : public SoundLoader {
 public:
  StandInSoundFiles(const PlatformSetup& setup, const AudioOutput& output);
  SoundPtr load(std::string_view storedName) override;

 private:
  std::string dir_;
  std::set<std::string> missing_;
  std::map<std::string, std::int64_t> lengths_;
  WaveFileLoader files_;
};

}  // namespace wuffel::sim
