#include "sim/trace.h"

#include <ostream>

namespace wuffel::sim {

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

}  // namespace wuffel::sim
