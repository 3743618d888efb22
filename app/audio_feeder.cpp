#include "app/audio_feeder.h"

#include <QTimer>

#include <algorithm>
#include <utility>

#include "sound/mixer.h"

namespace wuffel {

namespace {

constexpr int kFeedPeriodMs = 10;
constexpr int kBufferMs = 60;
// Long enough that the pauses of a game (a miss, a chance) keep the stream
// running, short enough that the device soon sleeps between games.
constexpr int kCorkAfterMs = 3000;
// How often a feeder without a stream tries the server again: the sound is
// back soon after the server answers, and an idle game without a server
// wakes once a second.
constexpr int kRetryMs = 1000;

}  // namespace

AudioFeeder::AudioFeeder(Mixer& mixer)
    : mixer_(mixer), bytesPerFrame_(mixer.channelCount() * static_cast<int>(sizeof(std::int16_t))) {
  // Sized once so feeding never allocates.
  buffer_.assign(std::max<std::size_t>(requestedBufferBytes(), 4096) / sizeof(std::int16_t), 0);
}

AudioFeeder::~AudioFeeder() { end(); }

void AudioFeeder::begin(std::unique_ptr<PulseConnection> connection) {
  timer_ = new QTimer(this);
  timer_->setTimerType(Qt::PreciseTimer);
  timer_->setInterval(kFeedPeriodMs);
  QObject::connect(timer_, &QTimer::timeout, this, [this] { feed(); });
  corkTimer_ = new QTimer(this);
  corkTimer_->setSingleShot(true);
  corkTimer_->setInterval(kCorkAfterMs);
  QObject::connect(corkTimer_, &QTimer::timeout, this, [this] {
    if (!ended_ && !lost_ && !timer_->isActive()) sink_->cork(true);
  });
  retryTimer_ = new QTimer(this);
  retryTimer_->setInterval(kRetryMs);
  QObject::connect(retryTimer_, &QTimer::timeout, this, [this] { retry(); });
  connection_ = std::move(connection);
  if (!connection_ || !connection_->ready()) return lose();
  makeSinks();
  if (!openStream()) return lose();
  streaming_.store(true, std::memory_order_release);
  timer_->start();
}

void AudioFeeder::wake() {
  if (!sleeping_.exchange(false)) return;
  QMetaObject::invokeMethod(this, [this] { resume(); }, Qt::QueuedConnection);
}

void AudioFeeder::stopSoon() {
  if (stopPending_.exchange(true)) return;
  QMetaObject::invokeMethod(this, [this] {
    stopPending_.store(false);
    feed();
  }, Qt::QueuedConnection);
}

void AudioFeeder::end() {
  for (QTimer* t : {timer_, corkTimer_, retryTimer_})
    if (t) t->stop();
  ended_ = true;
  streaming_.store(false);
  dropConnection();
}

void AudioFeeder::makeSinks() {
  for (auto& sink : sinks_) sink = std::make_unique<PulseStream>(*connection_, mixer_.sampleRate(), mixer_.channelCount());
  sink_ = nullptr;
}

void AudioFeeder::dropConnection() {
  sink_ = nullptr;
  for (auto& sink : sinks_) sink.reset();
  connection_.reset();
}

// Opens a stream on the sink not in use, then closes the other one,
// dropping what it held. The two take turns: a device left without a
// stream even for a moment may take long to play the next one, as the
// server lets its latency grow meanwhile; and they are kept rather than
// made anew.
//
// The server may grant less than it is asked (PulseAudio a quarter less),
// so each start asks for the buffer the feeder needs, never for what the
// last one got: else the buffer would shrink with every cut until it held
// less than a feeding period, and each period would play a few
// milliseconds and fall silent for the rest.
bool AudioFeeder::openStream() {
  PulseStream* next = (sink_ == sinks_[0].get() ? sinks_[1] : sinks_[0]).get();
  if (!next->start(requestedBufferBytes())) return false;
  if (sink_) sink_->stop();
  sink_ = next;
  return true;
}

std::size_t AudioFeeder::requestedBufferBytes() const {
  return static_cast<std::size_t>(mixer_.sampleRate()) * kBufferMs / 1000 * static_cast<std::size_t>(bytesPerFrame_);
}

void AudioFeeder::feed() {
  if (ended_) return;
  if (lost_) return catchUp();
  if (!sink_->playing()) return lose();  // the server went away
  mixer_.applyCommands();
  if (!dropStoppedSound()) return lose();
  if (mixer_.idle() && sleep()) return;  // the sink drains what it holds
  if (sink_->corked()) sink_->cork(false);
  const std::size_t freeBytes = std::min(sink_->bytesFree(), buffer_.size() * sizeof(std::int16_t));
  const std::size_t frames = freeBytes / static_cast<std::size_t>(bytesPerFrame_);
  if (frames == 0) return;
  mixer_.mix(buffer_.data(), frames);
  sink_->write(buffer_.data(), frames * static_cast<std::size_t>(bytesPerFrame_));
}

// From here the voices move on by the clock, unheard, and requests still
// wake the feeder, so that each is placed on their time when it comes.
void AudioFeeder::lose() {
  lost_ = true;
  streaming_.store(false, std::memory_order_release);
  dropConnection();
  timer_->stop();
  corkTimer_->stop();
  lostFor_.start();
  framesGoneBy_ = 0;
  sleeping_.store(true);
  std::atomic_thread_fence(std::memory_order_seq_cst);
  catchUp();
  retryTimer_->start();
}

void AudioFeeder::catchUp() {
  const std::int64_t due = lostFor_.nsecsElapsed() * mixer_.sampleRate() / 1'000'000'000;
  mixer_.pass(due - framesGoneBy_);
  framesGoneBy_ = due;
  mixer_.applyCommands();
}

void AudioFeeder::retry() {
  catchUp();
  auto connection = std::make_unique<PulseConnection>();
  if (!connection->connect()) return;
  connection_ = std::move(connection);
  makeSinks();
  if (!openStream()) return dropConnection();
  // Connecting took a while, and the voices went on meanwhile.
  catchUp();
  retryTimer_->stop();
  lost_ = false;
  streaming_.store(true, std::memory_order_release);
  // The voices go on from where they are by now; should none be sounding,
  // the stream is corked a while later, as after any sound.
  if (!sleep()) resume();
  else corkTimer_->start();
}

// The device holds up to kBufferMs of mixed sound. Of a stopped voice
// that would still be heard for that long, so a fresh stream takes over,
// the old one dropping all it holds, and the voices still going mix their
// part of it again. False when no new stream can be opened.
bool AudioFeeder::dropStoppedSound() {
  const std::int64_t queued = framesQueued();
  if (!mixer_.stoppedSoundWithin(queued)) return true;
  if (!openStream()) return false;
  mixer_.unmix(queued);
  return true;
}

// A corked stream was idle long enough to have played all it held.
std::int64_t AudioFeeder::framesQueued() const {
  if (sink_->corked()) return 0;
  const std::size_t free = sink_->bytesFree();
  const std::size_t held = sink_->bufferSize() > free ? sink_->bufferSize() - free : 0;
  return static_cast<std::int64_t>(held / static_cast<std::size_t>(bytesPerFrame_));
}

// While nothing sounds the timer is stopped, so nothing wakes up to feed
// the stream, and a while later the stream is corked. Returns false when
// a request arrived meanwhile.
bool AudioFeeder::sleep() {
  sleeping_.store(true);
  std::atomic_thread_fence(std::memory_order_seq_cst);
  if (mixer_.idle()) {
    if (timer_->isActive()) corkTimer_->start();
    timer_->stop();
    return true;
  }
  // A request slipped in: unless wake() already claimed the flag (and
  // will restart the timer), carry on.
  sleeping_.exchange(false);
  return false;
}

// Feeds at once rather than a period later, then keeps the timer going.
// Without a stream, places the request on the voices' time and waits for
// the next one.
void AudioFeeder::resume() {
  if (ended_) return;
  if (lost_) {
    sleeping_.store(true);
    std::atomic_thread_fence(std::memory_order_seq_cst);
    return catchUp();
  }
  corkTimer_->stop();
  if (!timer_->isActive()) timer_->start();
  feed();
}

}  // namespace wuffel
