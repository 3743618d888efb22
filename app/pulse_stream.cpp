#include "app/pulse_stream.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace wuffel {

namespace {

// The client library's thread runs the callbacks; they only wake the caller.
class Locked {
 public:
  explicit Locked(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
  ~Locked() { pa_threaded_mainloop_unlock(loop_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  pa_threaded_mainloop* loop_;
};

void wakeCaller(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }

// Waits, with the loop locked, until `op` is done or the connection failed.
void waitFor(pa_threaded_mainloop* loop, pa_operation* op) {
  if (!op) return;
  while (pa_operation_get_state(op) == PA_OPERATION_RUNNING) pa_threaded_mainloop_wait(loop);
  pa_operation_unref(op);
}

struct SinkQuery {
  pa_threaded_mainloop* loop;
  PulseConnection::Format format;
};

}  // namespace

PulseConnection::~PulseConnection() {
  // Stopped first, so that nothing runs while the context goes.
  if (loop_) pa_threaded_mainloop_stop(loop_);
  if (context_) {
    pa_context_disconnect(context_);
    pa_context_unref(context_);
  }
  if (loop_) pa_threaded_mainloop_free(loop_);
}

bool PulseConnection::connect() {
  loop_ = pa_threaded_mainloop_new();
  if (!loop_ || pa_threaded_mainloop_start(loop_) < 0) return false;
  Locked locked(loop_);
  // The desktop's mixer shows the name the program sets in the environment.
  context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "wuffel-tennis");
  if (!context_) return false;
  pa_context_set_state_callback(
      context_, [](pa_context*, void* loop) { wakeCaller(static_cast<pa_threaded_mainloop*>(loop)); }, loop_);
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) return false;
  for (;;) {
    const pa_context_state_t state = pa_context_get_state(context_);
    if (state == PA_CONTEXT_READY) return true;
    if (!PA_CONTEXT_IS_GOOD(state)) return false;
    pa_threaded_mainloop_wait(loop_);
  }
}

bool PulseConnection::ready() const {
  if (!context_) return false;
  Locked locked(loop_);
  return pa_context_get_state(context_) == PA_CONTEXT_READY;
}

PulseConnection::Format PulseConnection::deviceFormat() {
  if (!ready()) return {};
  Locked locked(loop_);
  SinkQuery query{loop_, {}};
  waitFor(loop_, pa_context_get_sink_info_by_name(
                     context_, "@DEFAULT_SINK@",
                     [](pa_context*, const pa_sink_info* info, int last, void* data) {
                       auto* q = static_cast<SinkQuery*>(data);
                       if (last == 0 && info)
                         q->format = {static_cast<int>(info->sample_spec.rate),
                                      std::clamp(static_cast<int>(info->sample_spec.channels), 1, 2)};
                       wakeCaller(q->loop);
                     },
                     &query));
  return query.format;
}

PulseStream::PulseStream(PulseConnection& connection, int sampleRate, int channels)
    : connection_(connection), rate_(sampleRate), channels_(channels) {}

PulseStream::~PulseStream() { stop(); }

bool PulseStream::start(std::size_t bufferBytes) {
  stop();
  if (!connection_.ready()) return false;
  pa_threaded_mainloop* loop = connection_.loop_;
  Locked locked(loop);
  pa_sample_spec format{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(rate_), static_cast<std::uint8_t>(channels_)};
  pa_channel_map map;
  pa_channel_map_init_auto(&map, format.channels, PA_CHANNEL_MAP_DEFAULT);
  stream_ = pa_stream_new(connection_.context_, "Game sounds", &format, &map);
  if (!stream_) return false;
  pa_stream_set_state_callback(
      stream_, [](pa_stream*, void* l) { wakeCaller(static_cast<pa_threaded_mainloop*>(l)); }, loop);
  pa_buffer_attr buffer;
  buffer.maxlength = static_cast<std::uint32_t>(-1);
  buffer.tlength = static_cast<std::uint32_t>(bufferBytes);
  buffer.prebuf = static_cast<std::uint32_t>(-1);
  buffer.minreq = static_cast<std::uint32_t>(-1);
  buffer.fragsize = static_cast<std::uint32_t>(-1);
  bool good = pa_stream_connect_playback(stream_, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) == 0;
  while (good && pa_stream_get_state(stream_) != PA_STREAM_READY) {
    good = PA_STREAM_IS_GOOD(pa_stream_get_state(stream_));
    if (good) pa_threaded_mainloop_wait(loop);
  }
  if (!good) {
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_unref(stream_);
    stream_ = nullptr;
    return false;
  }
  granted_ = pa_stream_get_buffer_attr(stream_)->tlength;
  corked_ = false;
  return true;
}

void PulseStream::stop() {
  if (!stream_) return;
  Locked locked(connection_.loop_);
  pa_stream_set_state_callback(stream_, nullptr, nullptr);
  pa_stream_disconnect(stream_);
  pa_stream_unref(stream_);
  stream_ = nullptr;
  granted_ = 0;
}

bool PulseStream::playing() const {
  if (!stream_) return false;
  Locked locked(connection_.loop_);
  return pa_stream_get_state(stream_) == PA_STREAM_READY &&
         pa_context_get_state(connection_.context_) == PA_CONTEXT_READY;
}

std::size_t PulseStream::bytesFree() const {
  if (!stream_) return 0;
  Locked locked(connection_.loop_);
  if (pa_stream_get_state(stream_) != PA_STREAM_READY) return 0;
  const std::size_t free = pa_stream_writable_size(stream_);
  return free == static_cast<std::size_t>(-1) ? 0 : free;
}

void PulseStream::write(const std::int16_t* samples, std::size_t bytes) {
  if (!stream_ || bytes == 0) return;
  Locked locked(connection_.loop_);
  // The library copies the samples; a stream that failed meanwhile refuses
  // them, and the next look at it finds it failed.
  pa_stream_write(stream_, samples, bytes, nullptr, 0, PA_SEEK_RELATIVE);
}

void PulseStream::cork(bool corked) {
  if (!stream_ || corked == corked_) return;
  Locked locked(connection_.loop_);
  if (pa_operation* op = pa_stream_cork(stream_, corked ? 1 : 0, nullptr, nullptr)) pa_operation_unref(op);
  corked_ = corked;
}

}  // namespace wuffel
