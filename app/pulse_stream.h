#pragma once

#include <cstddef>
#include <cstdint>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace wuffel {

// A connection to the sound server (PulseAudio, or PipeWire's PulseAudio
// service), used from one thread, the feeder's. The client library runs a
// thread of its own for the server's messages; each call here returns once
// the server has answered. A server that went away stays gone for this
// connection: the next try is a new PulseConnection.
//
// (Qt Multimedia's connection, in Qt 6.4, tries again three seconds after
// it was lost and, should the server not be back by then, never again.)
class PulseConnection {
 public:
  PulseConnection() = default;
  // Streams on it go first.
  ~PulseConnection();
  PulseConnection(const PulseConnection&) = delete;
  PulseConnection& operator=(const PulseConnection&) = delete;

  // False when no server answers. A server that accepts the connection and
  // never answers holds the caller up for good.
  bool connect();
  bool ready() const;
  // The default sink's sample rate and channel count; zeros without one.
  struct Format {
    int sampleRate = 0;
    int channels = 0;
  };
  Format deviceFormat();

 private:
  friend class PulseStream;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
};

// A playback stream of 16-bit samples to the default sink. A stop drops
// whatever the server still holds of it; it can be started again.
class PulseStream {
 public:
  PulseStream(PulseConnection& connection, int sampleRate, int channels);
  ~PulseStream();
  PulseStream(const PulseStream&) = delete;
  PulseStream& operator=(const PulseStream&) = delete;

  // Asks for a buffer of `bufferBytes`; false when the stream cannot play.
  bool start(std::size_t bufferBytes);
  void stop();
  // False unless started, and once the stream or its connection failed
  // (the server went away).
  bool playing() const;
  // How much may be written now; 0 when not playing.
  std::size_t bytesFree() const;
  // The buffer the server granted.
  std::size_t bufferSize() const { return granted_; }
  // At most bytesFree().
  void write(const std::int16_t* samples, std::size_t bytes);
  // A corked stream holds what it has and lets the device sleep.
  void cork(bool corked);
  bool corked() const { return corked_; }

 private:
  PulseConnection& connection_;
  int rate_;
  int channels_;
  pa_stream* stream_ = nullptr;
  std::size_t granted_ = 0;
  bool corked_ = false;
};

}  // namespace wuffel
