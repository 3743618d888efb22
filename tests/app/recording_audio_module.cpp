// A stand-in for the module wuffel-audio: the same entry point, an output
// that only records.
#include <QThread>
#include <QtGlobal>

#include <atomic>

#include "recording_audio_module.h"
#include "sound/audio_output.h"

namespace {

RecordedAudio recorded;

class RecordingOutput : public wuffel::SilentOutput {
 public:
  RecordingOutput() : SilentOutput(kRecordingOutputRate) { recorded.madeOn = QThread::currentThread(); }
  ~RecordingOutput() override { recorded.destroyedOn = QThread::currentThread(); }
  void prepare(wuffel::SoundPtr) override { ++recorded.prepared; }
  void start(int, wuffel::SoundPtr, std::int64_t) override { ++recorded.started; }
};

}  // namespace

extern "C" Q_DECL_EXPORT wuffel::AudioOutput* wuffelCreateAudioOutput() {
  while (std::atomic_ref(recorded.held).load()) QThread::msleep(1);
  return new RecordingOutput;
}

extern "C" Q_DECL_EXPORT RecordedAudio* wuffelRecordedAudio() { return &recorded; }
