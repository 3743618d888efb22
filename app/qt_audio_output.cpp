#include "app/qt_audio_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QDeadlineTimer>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <utility>
#include <vector>

#include "app/left_running.h"
#include "sound/mixer.h"

namespace wuffel {

namespace {

constexpr int kFeedPeriodMs = 10;
constexpr int kBufferMs = 60;
// Long enough that the pauses of a game (a miss, a chance) keep the stream
// running, short enough that the device soon sleeps between games.
constexpr int kCorkAfterMs = 3000;

QAudioFormat chooseFormat(const QAudioDevice& device) {
  QAudioFormat format = device.preferredFormat();
  format.setSampleFormat(QAudioFormat::Int16);
  format.setChannelCount(std::clamp(format.channelCount(), 1, 2));
  if (format.sampleRate() <= 0) format.setSampleRate(kCommonDeviceRate);
  if (device.isFormatSupported(format)) return format;
  format.setSampleRate(kCommonDeviceRate);
  format.setChannelCount(kCommonDeviceChannels);
  if (device.isFormatSupported(format)) return format;
  return {};
}

}  // namespace

class AudioFeeder : public QObject {
 public:
  AudioFeeder(Mixer& mixer, QAudioDevice device, QAudioFormat format)
      : mixer_(mixer), device_(std::move(device)), format_(format) {}

  // Runs on the feeder thread; reports whether the sink started.
  bool begin() {
    for (QAudioSink*& sink : sinks_) sink = new QAudioSink(device_, format_, this);
    if (!openStream()) return false;
    // The buffer is sized once so feeding never allocates.
    buffer_.assign(static_cast<std::size_t>(std::max<qsizetype>({sink_->bufferSize(), requestedBufferBytes(), 4096})) / 2, 0);
    timer_ = new QTimer(this);
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(kFeedPeriodMs);
    QObject::connect(timer_, &QTimer::timeout, this, [this] { feed(); });
    corkTimer_ = new QTimer(this);
    corkTimer_->setSingleShot(true);
    corkTimer_->setInterval(kCorkAfterMs);
    QObject::connect(corkTimer_, &QTimer::timeout, this, [this] {
      if (!failed_ && !timer_->isActive()) sink_->suspend();
    });
    timer_->start();
    return true;
  }

  // Any thread, after a start was queued: makes a sleeping feeder run.
  // Posting an event does not wait for the feeder thread.
  void wake() {
    if (!sleeping_.exchange(false)) return;
    QMetaObject::invokeMethod(this, [this] { resume(); }, Qt::QueuedConnection);
  }

  // Any thread, after a stop was queued: has it heard at once rather than
  // at the next period.
  void stopSoon() {
    if (stopPending_.exchange(true)) return;
    QMetaObject::invokeMethod(this, [this] {
      stopPending_.store(false);
      feed();
    }, Qt::QueuedConnection);
  }

  void end() {
    if (timer_) timer_->stop();
    if (corkTimer_) corkTimer_->stop();
    // Destroying a sink runs the thread's pending events (Qt's PulseAudio
    // backend does), so they must find nothing left to do.
    failed_ = true;
    sink_ = nullptr;
    io_ = nullptr;
    for (QAudioSink*& sink : sinks_) {
      if (!sink) continue;
      QAudioSink* gone = std::exchange(sink, nullptr);
      gone->stop();
      delete gone;
    }
  }

 private:
  // Opens a stream on the sink not in use, then closes the other one,
  // dropping what it held. The two take turns: a device left without a
  // stream even for a moment may take long to play the next one, as the
  // server lets its latency grow meanwhile; and they are kept rather than
  // made anew, since destroying one runs the thread's pending events.
  //
  // After a start a sink's size is the buffer the server granted, which it
  // would ask for at its next start; as a server may grant less than it is
  // asked (PulseAudio a quarter less), the size is asked for anew each time,
  // or the buffer would shrink with every cut until it held less than a
  // feeding period.
  bool openStream() {
    QAudioSink* next = sink_ == sinks_[0] ? sinks_[1] : sinks_[0];
    next->setBufferSize(requestedBufferBytes());
    QIODevice* io = next->start();
    if (!io || next->error() != QAudio::NoError) return false;
    if (sink_) sink_->stop();
    sink_ = next;
    io_ = io;
    return true;
  }

  qsizetype requestedBufferBytes() const { return format_.bytesForDuration(kBufferMs * 1000); }

  void feed() {
    if (failed_ || !io_) return;
    if (sink_->error() == QAudio::OpenError || sink_->error() == QAudio::FatalError) return fail();
    mixer_.applyCommands();
    if (!dropStoppedSound()) return fail();
    if (mixer_.idle() && sleep()) return;  // the sink drains what it holds
    if (sink_->state() == QAudio::SuspendedState) sink_->resume();
    const int bytesPerFrame = format_.bytesPerFrame();
    const qsizetype freeBytes = std::min<qsizetype>(
        sink_->bytesFree(), static_cast<qsizetype>(buffer_.size() * sizeof(std::int16_t)));
    const std::size_t frames = static_cast<std::size_t>(freeBytes / bytesPerFrame);
    if (frames == 0) return;
    mixer_.mix(buffer_.data(), frames);
    io_->write(reinterpret_cast<const char*>(buffer_.data()),
               static_cast<qint64>(frames) * bytesPerFrame);
  }

  // Stay silent; the channels keep time on their own.
  void fail() {
    failed_ = true;
    timer_->stop();
  }

  // The device holds up to kBufferMs of mixed sound. Of a stopped voice
  // that would still be heard for that long, so a fresh stream takes over,
  // the old one dropping all it holds, and the voices still going mix their
  // part of it again. False when no new stream can be opened.
  bool dropStoppedSound() {
    const std::int64_t queued = framesQueued();
    if (!mixer_.stoppedSoundWithin(queued)) return true;
    if (!openStream()) return false;
    mixer_.unmix(queued);
    return true;
  }

  std::int64_t framesQueued() const {
    const QAudio::State state = sink_->state();
    if (state != QAudio::ActiveState && state != QAudio::IdleState) return 0;
    const qsizetype held = std::max<qsizetype>(0, sink_->bufferSize() - sink_->bytesFree());
    return held / format_.bytesPerFrame();
  }

  // While nothing sounds the timer is stopped, so nothing wakes up to feed
  // the stream, and a while later the stream is corked. Returns false when
  // a request arrived meanwhile.
  bool sleep() {
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
  void resume() {
    if (failed_) return;
    corkTimer_->stop();
    if (!timer_->isActive()) timer_->start();
    feed();
  }

  Mixer& mixer_;
  QAudioDevice device_;
  QAudioFormat format_;
  QAudioSink* sinks_[2] = {nullptr, nullptr};
  QAudioSink* sink_ = nullptr;  // the one in use
  QIODevice* io_ = nullptr;
  QTimer* timer_ = nullptr;
  QTimer* corkTimer_ = nullptr;
  std::vector<std::int16_t> buffer_;
  bool failed_ = false;
  std::atomic<bool> sleeping_{false};
  std::atomic<bool> stopPending_{false};
};

struct QtAudioOutput::Device {
  std::promise<OutputFormat> formatFound;
  std::promise<void> feederEnded;
  // Set on the feeder's thread before formatFound, read after.
  std::unique_ptr<Mixer> mixer;
  AudioFeeder* feeder = nullptr;  // lives on `thread`
  PreparedSounds prepared;
  QThread thread;
  std::atomic<double> gain{1};  // for a mixer not made yet

  // On the feeder's thread: finds the device and starts feeding it. With a
  // sound server that does not answer, this never returns.
  void begin() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    const QAudioFormat format = device.isNull() ? QAudioFormat{} : chooseFormat(device);
    if (format.isValid()) {
      mixer = std::make_unique<Mixer>(format.sampleRate(), format.channelCount());
      mixer->setGain(gain.load());
      auto* starting = new AudioFeeder(*mixer, device, format);
      if (starting->begin()) {
        feeder = starting;
        prepared.setFormat({mixer->sampleRate(), mixer->channelCount()});
      } else {
        starting->end();
        delete starting;
      }
    } else {
      mixer = std::make_unique<Mixer>(kSilentRate, kSilentChannels);
    }
    formatFound.set_value({mixer->sampleRate(), mixer->channelCount()});
    // A gain set while the mixer was being made did not reach it.
    mixer->setGain(gain.load());
  }
};

QtAudioOutput::QtAudioOutput() : device_(new Device), format_(device_->formatFound.get_future().share()) {
  Device* device = device_;
  device->thread.setObjectName("audio");
  device->thread.start(QThread::TimeCriticalPriority);
  auto* starter = new QObject;
  starter->moveToThread(&device->thread);
  QMetaObject::invokeMethod(starter, [device, starter] {
    delete starter;
    device->begin();
  }, Qt::QueuedConnection);
}

QtAudioOutput::~QtAudioOutput() {
  if (!shutDown_) shutDown(std::chrono::steady_clock::now() + kShutDownWaitByDefault);
}

int QtAudioOutput::sampleRate() const { return ready() ? format_.get().sampleRate : kSilentRate; }

int QtAudioOutput::channelCount() const { return ready() ? format_.get().channels : kSilentChannels; }

bool QtAudioOutput::hasDevice() const { return !shutDown_ && ready() && device_->feeder; }

std::uint64_t QtAudioOutput::startsMixed() const {
  return hasDevice() ? device_->mixer->startsMixed() : 0;
}

// Without a feeder nothing drains the mixer, so requests are dropped here.
void QtAudioOutput::start(int voice, SoundPtr sound, std::int64_t fromFrame) {
  if (!sound || !hasDevice()) return;
  SoundPtr playable = device_->prepared.forOutput(sound);
  if (playable != sound) fromFrame = fromFrame * playable->sampleRate / sound->sampleRate;
  device_->mixer->start(voice, std::move(playable), fromFrame);
  std::atomic_thread_fence(std::memory_order_seq_cst);
  device_->feeder->wake();
}

void QtAudioOutput::setGain(double gain) {
  device_->gain.store(gain);
  // Never waits for the device: until the mixer is there, begin() applies it.
  if (!shutDown_ && ready()) device_->mixer->setGain(gain);
}

void QtAudioOutput::stop(int voice) {
  if (!hasDevice()) return;
  device_->mixer->stop(voice);
  std::atomic_thread_fence(std::memory_order_seq_cst);
  device_->feeder->stopSoon();
}

void QtAudioOutput::prepare(SoundPtr sound) {
  if (!shutDown_) device_->prepared.convertAhead(std::move(sound));
}

bool QtAudioOutput::shutDown(Deadline deadline) {
  if (std::exchange(shutDown_, true)) return !leftRunning_;
  Device* device = device_;
  bool answered = format_.arrivedBy(deadline);
  if (answered && device->feeder) {
    AudioFeeder* feeder = device->feeder;
    QMetaObject::invokeMethod(feeder, [device, feeder] {
      feeder->end();
      delete feeder;
      device->feederEnded.set_value();
    }, Qt::QueuedConnection);
    answered = device->feederEnded.get_future().wait_until(deadline) == std::future_status::ready;
  }
  if (answered) {
    device->thread.quit();
    answered = device->thread.wait(QDeadlineTimer(deadline));
  }
  const bool converted = device->prepared.stop(deadline);
  if (answered) delete device;
  else leaveRunning(device);
  leftRunning_ = !(answered && converted);
  return !leftRunning_;
}

}  // namespace wuffel
