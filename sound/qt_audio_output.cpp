#include "sound/qt_audio_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <vector>

namespace wuffel {

namespace {

constexpr int kFeedPeriodMs = 10;
constexpr int kBufferMs = 60;

QAudioFormat chooseFormat(const QAudioDevice& device) {
  QAudioFormat format = device.preferredFormat();
  format.setSampleFormat(QAudioFormat::Int16);
  format.setChannelCount(std::clamp(format.channelCount(), 1, 2));
  if (format.sampleRate() <= 0) format.setSampleRate(48000);
  if (device.isFormatSupported(format)) return format;
  format.setSampleRate(48000);
  format.setChannelCount(2);
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
    sink_ = new QAudioSink(device_, format_, this);
    sink_->setBufferSize(format_.bytesForDuration(kBufferMs * 1000));
    io_ = sink_->start();
    if (!io_ || sink_->error() != QAudio::NoError) return false;
    // The buffer is sized once so feeding never allocates.
    buffer_.assign(static_cast<std::size_t>(std::max<qsizetype>(sink_->bufferSize(), 4096)) / 2, 0);
    timer_ = new QTimer(this);
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(kFeedPeriodMs);
    QObject::connect(timer_, &QTimer::timeout, this, [this] { feed(); });
    timer_->start();
    return true;
  }

  // Any thread, after a request was queued: makes a sleeping feeder run.
  // Posting an event does not wait for the feeder thread.
  void wake() {
    if (!sleeping_.exchange(false)) return;
    QMetaObject::invokeMethod(this, [this] { resume(); }, Qt::QueuedConnection);
  }

  void end() {
    if (timer_) timer_->stop();
    if (sink_) sink_->stop();
    delete sink_;
    sink_ = nullptr;
    io_ = nullptr;
  }

 private:
  void feed() {
    if (failed_ || !io_) return;
    if (sink_->error() == QAudio::OpenError || sink_->error() == QAudio::FatalError) {
      failed_ = true;  // stay silent; the channels keep time on their own
      timer_->stop();
      return;
    }
    if (mixer_.idle() && sleep()) return;  // the sink drains what it holds
    const int bytesPerFrame = format_.bytesPerFrame();
    const qsizetype freeBytes = std::min<qsizetype>(
        sink_->bytesFree(), static_cast<qsizetype>(buffer_.size() * sizeof(std::int16_t)));
    const std::size_t frames = static_cast<std::size_t>(freeBytes / bytesPerFrame);
    if (frames == 0) return;
    mixer_.mix(buffer_.data(), frames);
    io_->write(reinterpret_cast<const char*>(buffer_.data()),
               static_cast<qint64>(frames) * bytesPerFrame);
  }

  // While nothing sounds the timer is stopped, so nothing wakes up to feed
  // the stream. Returns false when a request arrived meanwhile.
  bool sleep() {
    sleeping_.store(true);
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (mixer_.idle()) {
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
    if (!timer_->isActive()) timer_->start();
    feed();
  }

  Mixer& mixer_;
  QAudioDevice device_;
  QAudioFormat format_;
  QAudioSink* sink_ = nullptr;
  QIODevice* io_ = nullptr;
  QTimer* timer_ = nullptr;
  std::vector<std::int16_t> buffer_;
  bool failed_ = false;
  std::atomic<bool> sleeping_{false};
};

QtAudioOutput::QtAudioOutput() : format_(formatFound_.get_future().share()), prepared_(format_) {
  thread_.setObjectName("audio");
  thread_.start(QThread::TimeCriticalPriority);
  auto* starter = new QObject;
  starter->moveToThread(&thread_);
  QMetaObject::invokeMethod(starter, [this, starter] {
    delete starter;
    begin();
  }, Qt::QueuedConnection);
}

// On the feeder's thread: finds the device and starts feeding it.
void QtAudioOutput::begin() {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  const QAudioFormat format = device.isNull() ? QAudioFormat{} : chooseFormat(device);
  if (!format.isValid()) {
    mixer_ = std::make_unique<Mixer>(22050, 1);
    formatFound_.set_value({22050, 1});
    return;
  }
  mixer_ = std::make_unique<Mixer>(format.sampleRate(), format.channelCount());
  mixer_->setGain(gain_.load());
  auto* feeder = new AudioFeeder(*mixer_, device, format);
  if (feeder->begin()) {
    feeder_ = feeder;
    feeding_ = true;
  } else {
    feeder->end();
    delete feeder;
  }
  formatFound_.set_value({mixer_->sampleRate(), mixer_->channelCount()});
  // A gain set while the mixer was being made did not reach it.
  mixer_->setGain(gain_.load());
}

QtAudioOutput::~QtAudioOutput() {
  started();
  if (feeder_) {
    AudioFeeder* feeder = feeder_;
    QMetaObject::invokeMethod(feeder, [feeder] { feeder->end(); delete feeder; },
                              Qt::BlockingQueuedConnection);
    feeder_ = nullptr;
  }
  thread_.quit();
  thread_.wait();
}

// Without a feeder nothing drains the mixer, so requests are dropped here.
void QtAudioOutput::start(int voice, SoundPtr sound, std::int64_t fromFrame) {
  if (!hasDevice() || !sound) return;
  SoundPtr playable = prepared_.forOutput(sound);
  if (playable != sound) fromFrame = fromFrame * playable->sampleRate / sound->sampleRate;
  mixer_->start(voice, std::move(playable), fromFrame);
  std::atomic_thread_fence(std::memory_order_seq_cst);
  feeder_->wake();
}

void QtAudioOutput::setGain(double gain) {
  gain_.store(gain);
  // Never waits for the device: until the mixer is there, begin() applies it.
  if (format_.wait_for(std::chrono::seconds(0)) == std::future_status::ready && mixer_) mixer_->setGain(gain);
}

void QtAudioOutput::stop(int voice) {
  if (hasDevice()) mixer_->stop(voice);
}

}  // namespace wuffel
