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

#include "platform/ports.h"
#include "frontend/timeline_clocks.h"
#include "frontend/trace.h"
#include "frontend/window_model.h"
#include "platform/timeline.h"
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
  // For the tests: time that jumps acts as a real clock that stalled.
  std::optional<std::int64_t> mostCatchUpMs;
};

// The three windows on a screen of a given size, keeping what the program
// asked of them, in order.
class StandInWindows : public WindowModel {
 public:
  StandInWindows(int screenWidth, int screenHeight, EventLog* log) : WindowModel(screenWidth, screenHeight, log) {}

  struct Move {
    WindowId window;
    WindowPosition to;
  };
  std::vector<WindowId> broughtToFront;
  std::vector<Move> moves;
  std::vector<WindowPosition> popups;

 private:
  void broughtToFrontNow(WindowId id) override { broughtToFront.push_back(id); }
  void movedNow(WindowId id, WindowPosition to) override { moves.push_back({id, to}); }
  void poppedUp(int x, int y) override { popups.push_back({x, y}); }
};

class StandInErrorBox : public ErrorBox {
 public:
  explicit StandInErrorBox(EventLog* log) : words_(log) {}
  void showError(const std::string& message) override;
  std::vector<std::string> shown;

 private:
  PlatformWords words_;
};

// Answers every question at once, as the script last said: yes unless told
// otherwise; or, when told to wait, holds it open until answered.
class StandInQuestionBox : public QuestionBox {
 public:
  explicit StandInQuestionBox(EventLog* log) : words_(log) {}
  void ask(const std::string& question, std::function<void(bool yes)> answered) override;
  // Answers the question held open; false when none is.
  bool answerOpen(bool yes);
  bool answer = true;
  bool waits = false;
  std::vector<std::string> asked;

 private:
  PlatformWords words_;
  std::function<void(bool)> open_;
};

class StandInShell : public Shell {
 public:
  explicit StandInShell(EventLog* log) : words_(log) {}
  void open(const std::string& target) override;
  std::vector<std::string> opened;

 private:
  PlatformWords words_;
};

class StandInBeep : public SystemBeep {
 public:
  explicit StandInBeep(EventLog* log) : words_(log) {}
  void beep() override;
  int beeps = 0;

 private:
  PlatformWords words_;
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
