#include "app/qt_audio_output.h"

#include <QDeadlineTimer>
#include <QThread>

#include <atomic>
#include <future>
#include <memory>
#include <utility>

#include "app/audio_feeder.h"
#include "app/left_running.h"
#include "sound/mixer.h"

namespace wuffel {

struct QtAudioOutput::Device {
  std::promise<OutputFormat> formatFound;
  std::promise<void> feederEnded;
  // Set on the feeder's thread before formatFound, read after.
  std::unique_ptr<Mixer> mixer;
  AudioFeeder* feeder = nullptr;  // lives on `thread`
  PreparedSounds prepared;
  QThread thread;
  std::atomic<double> gain{1};  // for a mixer not made yet

  // On the feeder's thread: finds the device and starts feeding it, or
  // waiting for it. With a sound server that does not answer, this never
  // returns. Until a server answers, the sounds play at the format they
  // were opened at (the server converts them): nothing else is known.
  void begin() {
    auto connection = std::make_unique<PulseConnection>();
    const PulseConnection::Format device =
        connection->connect() ? connection->deviceFormat() : PulseConnection::Format{};
    const bool found = device.sampleRate > 0;
    mixer = std::make_unique<Mixer>(found ? device.sampleRate : kSilentRate,
                                    found ? device.channels : kSilentChannels);
    mixer->setGain(gain.load());
    feeder = new AudioFeeder(*mixer);
    feeder->begin(found ? std::move(connection) : nullptr);
    prepared.setFormat({mixer->sampleRate(), mixer->channelCount()});
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

bool QtAudioOutput::feeding() const { return !shutDown_ && ready() && device_->feeder; }

bool QtAudioOutput::hasDevice() const { return feeding() && device_->feeder->streaming(); }

std::uint64_t QtAudioOutput::startsMixed() const { return feeding() ? device_->mixer->startsMixed() : 0; }

// Without a feeder nothing drains the mixer, so requests are dropped here.
void QtAudioOutput::start(int voice, SoundPtr sound, std::int64_t fromFrame) {
  if (!sound || !feeding()) return;
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
  if (!feeding()) return;
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
