// The runner's trace: a line per event, each starting with the virtual time.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "face/face.h"
#include "game/player_events.h"
#include "platform/interval_timer.h"
#include "sim/event_log.h"
#include "sound/channel.h"
#include "store/hiscore_store.h"

namespace wuffel::sim {

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

}  // namespace wuffel::sim
