#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/pulse_stream.h"

class QTimer;

namespace wuffel {

class Mixer;

// Feeds the mixer's sound to the sound server, on a thread of its own (all
// but wake() and stopSoon() run there). It tops up the stream every 10 ms
// while something sounds and sleeps while nothing does; a few seconds
// after the last sound the stream is corked, so that the device can sleep.
//
// Without a stream (no server when the game started, or the server went
// away) it keeps the voices' time as if they were heard and tries for a
// stream once a second; once it has one, whatever should be sounding then
// goes on from where it would be, and what has ended meanwhile stays silent.
class AudioFeeder : public QObject {
 public:
  // Plays in the mixer's format.
  explicit AudioFeeder(Mixer& mixer);
  ~AudioFeeder() override;

  // Starts on `connection`, or without a stream when there is none or it
  // fails.
  void begin(std::unique_ptr<PulseConnection> connection);
  // Any thread: true while a stream takes the sound.
  bool streaming() const { return streaming_.load(std::memory_order_acquire); }
  // Any thread, after a start was queued: makes a sleeping feeder run.
  // Posting an event does not wait for the feeder thread.
  void wake();
  // Any thread, after a stop was queued: has it heard at once rather than
  // at the next period.
  void stopSoon();
  // Lets go of the streams; nothing runs afterwards.
  void end();

 private:
  void makeSinks();
  // Lets go of both streams and the connection they were on.
  void dropConnection();
  bool openStream();
  std::size_t requestedBufferBytes() const;
  void feed();
  void lose();
  void catchUp();
  void retry();
  bool dropStoppedSound();
  std::int64_t framesQueued() const;
  bool sleep();
  void resume();

  Mixer& mixer_;
  int bytesPerFrame_;
  std::unique_ptr<PulseConnection> connection_;  // the streams' own
  std::unique_ptr<PulseStream> sinks_[2];
  PulseStream* sink_ = nullptr;  // the one in use
  QTimer* timer_ = nullptr;
  QTimer* corkTimer_ = nullptr;
  QTimer* retryTimer_ = nullptr;
  std::vector<std::int16_t> buffer_;
  bool ended_ = false;
  // Without a stream: since when, and how many frames the voices have
  // moved on since.
  bool lost_ = false;
  QElapsedTimer lostFor_;
  std::int64_t framesGoneBy_ = 0;
  std::atomic<bool> streaming_{false};
  std::atomic<bool> sleeping_{false};
  std::atomic<bool> stopPending_{false};
};

}  // namespace wuffel
