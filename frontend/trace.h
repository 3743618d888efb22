// The trace: a line per event, each starting with the time it happened, in
// the words the scenario runner writes and a traced page repeats.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "face/face.h"
#include "frontend/event_log.h"
#include "game/player_events.h"
#include "platform/interval_timer.h"
#include "platform/ports.h"
#include "sound/channel.h"
#include "store/hiscore_store.h"

namespace wuffel {

class Trace : public EventLog {
 public:
  Trace(std::ostream& out, std::function<std::int64_t()> now) : out_(out), now_(std::move(now)) {}
  void event(const std::string& text) override;

 private:
  std::ostream& out_;
  std::function<std::int64_t()> now_;
};

// What the handheld reports as it runs, as trace lines: the face's
// changes, the timers', the sound requests, the store's reads and writes,
// and the pauses.
class TraceWriter : public FaceObserver,
                    public TimerObserver,
                    public SoundObserver,
                    public StoreObserver,
                    public PlayerEvents {
 public:
  explicit TraceWriter(EventLog& trace) : trace_(trace) {}
  void visibilityChanged(ElementId id, bool visible) override;
  void pictureChanged(ElementId id, std::optional<ElementId> source) override;
  void timerChanged(std::string_view name, int intervalMs, bool enabled) override;
  void soundRequested(ChannelId id, SoundOp op) override;
  void storeRead(std::string_view name, std::int32_t value) override;
  void storeWritten(std::string_view name, std::int32_t value) override;
  void pauseChanged(bool paused) override;

 private:
  EventLog& trace_;
};

// What a front end does for the program, as trace lines, said to the log
// when there is one: the platform's answers to the program, the timers'
// ticks and the end of the message loop.
class PlatformWords {
 public:
  explicit PlatformWords(EventLog* log) : log_(log) {}
  void error(const std::string& message) const { say("error " + message); }
  void opened(const std::string& target) const { say("open " + target); }
  void beep() const { say("beep"); }
  void asked(const std::string& question) const { say("ask " + question); }
  void answered(bool yes) const { say(yes ? "answer yes" : "answer no"); }
  void tick(int timerIndex) const;
  void exit() const { say("exit"); }
  void windowShown(WindowId id, bool shown) const;
  void windowInFront(WindowId id) const;
  void windowMoved(WindowId id, WindowPosition to) const;
  void popup(int x, int y) const;

 private:
  void say(const std::string& text) const {
    if (log_) log_->event(text);
  }
  EventLog* log_;
};

}  // namespace wuffel
