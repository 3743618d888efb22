#include "frontend/trace.h"

#include <ostream>

#include "game/timers.h"

namespace wuffel {

void Trace::event(const std::string& text) { out_ << now_() << ' ' << text << '\n'; }

void TraceWriter::visibilityChanged(ElementId id, bool visible) {
  trace_.event(std::string(visible ? "show " : "hide ") + std::string(nameOf(id)));
}

void TraceWriter::pictureChanged(ElementId id, std::optional<ElementId> source) {
  trace_.event("picture " + std::string(nameOf(id)) + " " + std::string(source ? nameOf(*source) : "none"));
}

void TraceWriter::timerChanged(std::string_view name, int intervalMs, bool enabled) {
  trace_.event("timer " + std::string(name) + " " + std::to_string(intervalMs) + (enabled ? " on" : " off"));
}

void TraceWriter::soundRequested(ChannelId id, SoundOp op) {
  trace_.event("sound " + std::string(channelName(id)) + " " + std::string(opName(op)));
}

void TraceWriter::storeRead(std::string_view name, std::int32_t value) {
  trace_.event("store read " + std::string(name) + " " + std::to_string(value));
}

void TraceWriter::storeWritten(std::string_view name, std::int32_t value) {
  trace_.event("store write " + std::string(name) + " " + std::to_string(value));
}

void TraceWriter::pauseChanged(bool paused) { trace_.event(paused ? "pause" : "resume"); }

void PlatformWords::tick(int timerIndex) const {
  say("tick " + std::string(kTimers[static_cast<std::size_t>(timerIndex)].name));
}

namespace {
std::string windowWords(WindowId id) { return "window " + std::string(windowName(id)); }
}  // namespace

void PlatformWords::windowShown(WindowId id, bool shown) const {
  say(windowWords(id) + (shown ? " show" : " hide"));
}

void PlatformWords::windowInFront(WindowId id) const { say(windowWords(id) + " front"); }

void PlatformWords::windowMoved(WindowId id, WindowPosition to) const {
  say(windowWords(id) + " at " + std::to_string(to.left) + " " + std::to_string(to.top));
}

void PlatformWords::popup(int x, int y) const { say("popup " + std::to_string(x) + " " + std::to_string(y)); }

}  // namespace wuffel
