// The remaining platform services on the page: the error box, the opening of
// documents and addresses, the beep and the end of the
// program. Each also writes its trace line when the page traces. And the
// game told to the page's live region, for screen readers.
#pragma once

#include <functional>
#include <string>

#include "platform/ports.h"
#include "frontend/announcer.h"
#include "frontend/trace.h"

namespace wuffel {
class Handheld;
}

namespace wuffel::web {

// Hears the handheld's game from its making on, and says it through the live region.
class PageAnnouncer : public Announcer {
 public:
  explicit PageAnnouncer(Handheld& handheld);
};

class PageErrorBox : public ErrorBox {
 public:
  explicit PageErrorBox(EventLog* trace) : words_(trace) {}
  // The page cannot wait for OK; the box stays up over the page, modal, and
  // the game's timers go on, as they do behind the desktop's box.
  void showError(const std::string& message) override;

 private:
  PlatformWords words_;
};

// The question box over the page, modal. The page cannot wait for the
// answer: it comes later, through answer().
class PageQuestionBox : public QuestionBox {
 public:
  explicit PageQuestionBox(EventLog* trace) : words_(trace) {}
  void ask(const std::string& question, std::function<void(bool yes)> answered) override;
  void answer(bool yes);
  bool open() const { return static_cast<bool>(answered_); }

 private:
  PlatformWords words_;
  std::function<void(bool)> answered_;
};

// Addresses open in a new tab; the documents the site carries (the two the
// menu names) too; anything else, as the manual, opens nothing.
class PageShell : public Shell {
 public:
  explicit PageShell(EventLog* trace) : words_(trace) {}
  void open(const std::string& target) override;

 private:
  PlatformWords words_;
};

class PageBeep : public SystemBeep {
 public:
  explicit PageBeep(EventLog* trace) : words_(trace) {}
  void beep() override;

 private:
  PlatformWords words_;
};

class PageMessageLoop : public MessageLoop {
 public:
  void quit() override { quitRequested = true; }
  bool quitRequested = false;
};

}  // namespace wuffel::web
