// The page opened with ?trace writes the scenario runner's trace lines to
// the console, timed on the page clock, so that a real browser's run can be
// read against a runner's.
#pragma once

#include <functional>
#include <string>

#include "face/face.h"
#include "platform/interval_timer.h"
#include "sound/channel.h"
#include "store/hiscore_store.h"
#include "web/page_time.h"

namespace wuffel::web {

class PageTrace : public FaceObserver, public TimerObserver, public SoundObserver, public StoreObserver {
 public:
  PageTrace(const PageClock& clock, std::function<void(const std::string&)> sink)
      : clock_(clock), sink_(std::move(sink)) {}

  void line(const std::string& event) { sink_(std::to_string(clock_.nowMs()) + " " + event); }

  void visibilityChanged(ElementId id, bool visible) override {
    line(std::string(visible ? "show " : "hide ") + std::string(nameOf(id)));
  }
  void pictureChanged(ElementId id, std::optional<ElementId> source) override {
    line("picture " + std::string(nameOf(id)) + " " + std::string(source ? nameOf(*source) : "none"));
  }
  void timerChanged(std::string_view name, int interval, bool enabled) override {
    line("timer " + std::string(name) + " " + std::to_string(interval) + (enabled ? " on" : " off"));
  }
  void soundRequested(ChannelId id, SoundOp op) override {
    line("sound " + std::string(channelName(id)) + " " + std::string(opName(op)));
  }
  void storeRead(std::string_view name, std::int32_t value) override {
    line("store read " + std::string(name) + " " + std::to_string(value));
  }
  void storeWritten(std::string_view name, std::int32_t value) override {
    line("store write " + std::string(name) + " " + std::to_string(value));
  }

 private:
  const PageClock& clock_;
  std::function<void(const std::string&)> sink_;
};

}  // namespace wuffel::web
