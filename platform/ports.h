// The platform services the handheld calls. The window program implements
// them with Qt; the scenario runner and the tests with virtual time and logs.
#pragma once

#include <functional>
#include <string>

#include "platform/windows.h"

namespace wuffel {

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual void show(WindowId) = 0;
  virtual void hide(WindowId) = 0;
  virtual void bringToFront(WindowId) = 0;
  virtual WindowPosition position(WindowId) const = 0;
  virtual void moveTo(WindowId, WindowPosition) = 0;
  virtual int screenWidth() const = 0;
  virtual int screenHeight() const = 0;
  virtual int windowWidth(WindowId) const = 0;
  virtual int windowHeight(WindowId) const = 0;
  // Pops up the command menu at a client point of the main window.
  virtual void popupMenu(int x, int y) = 0;
};

class ErrorBox {
 public:
  virtual ~ErrorBox() = default;
  // Modal; returns when the user has pressed OK. Timers keep firing meanwhile.
  virtual void showError(const std::string& message) = 0;
};

// A question put to the player before a step that loses something.
class QuestionBox {
 public:
  virtual ~QuestionBox() = default;
  // Puts `question` with the answers yes and no. `answered` is called once
  // with the answer: before ask returns (a modal box) or later (a page,
  // which cannot wait).
  virtual void ask(const std::string& question, std::function<void(bool yes)> answered) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a document or an address with the desktop's program for it; the
  // result is of no interest to the caller.
  virtual void open(const std::string& target) = 0;
};

inline constexpr int kMillisecondsPerDay = 24 * 60 * 60 * 1000;

struct LocalTime {
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
};

class TimeOfDay {
 public:
  virtual ~TimeOfDay() = default;
  virtual int utcMillisecondsSinceMidnight() const = 0;
  virtual LocalTime localTime() const = 0;
};

class SystemBeep {
 public:
  virtual ~SystemBeep() = default;
  virtual void beep() = 0;
};

class MessageLoop {
 public:
  virtual ~MessageLoop() = default;
  // Ends the message loop once the running handler has returned; the
  // program then closes its windows and ends.
  virtual void quit() = 0;
};

}  // namespace wuffel
