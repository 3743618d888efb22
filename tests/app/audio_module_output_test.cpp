// The audio output loaded at run time, here from a stand-in module that
// records what its output is asked and can be held from making it.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLibrary>
#include <QThread>

#include <atomic>

#include "app/audio_module_output.h"
#include "qt_application.h"
#include "recording_audio_module.h"

namespace wuffel {
namespace {

SoundPtr aSound() {
  auto sound = std::make_shared<DecodedSound>();
  sound->sampleRate = kSilentRate;
  sound->channels = 1;
  sound->samples.assign(100, 0);
  return sound;
}

struct AudioModule : ::testing::Test {
  AudioModule() {
    testing::application();
    QLibrary library(module);
    recorded = reinterpret_cast<RecordedAudioFunction>(library.resolve("wuffelRecordedAudio"))();
    *recorded = {};
  }
  void hold(bool held) { std::atomic_ref(recorded->held).store(held); }
  // Waits, as long as a busy machine may need, until the output is there.
  static bool loaded(const AudioModuleOutput& output) {
    QElapsedTimer waited;
    waited.start();
    while (output.sampleRate() != kRecordingOutputRate && waited.elapsed() < 10000) QThread::msleep(5);
    return output.sampleRate() == kRecordingOutputRate;
  }

  const QString module = QStringLiteral(WUFFEL_RECORDING_AUDIO_MODULE);
  RecordedAudio* recorded = nullptr;
};

TEST_F(AudioModule, SoundsAnnouncedBeforeItIsLoadedReachItsOutput) {
  AudioModuleOutput output(module);
  output.prepare(aSound());
  output.prepare(aSound());
  EXPECT_EQ(recorded->madeOn, nullptr) << "nothing loads before it is asked for";
  output.startLoading();
  ASSERT_TRUE(loaded(output));
  EXPECT_EQ(recorded->prepared, 2);
  output.prepare(aSound());
  output.start(0, aSound(), 0);
  EXPECT_EQ(recorded->prepared, 3);
  EXPECT_EQ(recorded->started, 1);
}

// A play asked for while the module is still loading waits a little, then
// goes unheard; the game plays on, and once the output is there it sounds.
TEST_F(AudioModule, APlayBeforeItIsReadyGoesUnheardAndLaterOnesSound) {
  hold(true);
  AudioModuleOutput output(module);
  output.start(0, aSound(), 0);  // starts the load itself
  EXPECT_EQ(output.sampleRate(), kSilentRate);
  EXPECT_EQ(recorded->started, 0);
  hold(false);
  ASSERT_TRUE(loaded(output));
  output.start(0, aSound(), 0);
  EXPECT_EQ(recorded->started, 1);
}

TEST_F(AudioModule, ItsOutputIsMadeAndDestroyedOnAThreadOfItsOwn) {
  {
    AudioModuleOutput output(module);
    output.startLoading();
    ASSERT_TRUE(loaded(output));
    EXPECT_EQ(recorded->destroyedOn, nullptr);
    EXPECT_TRUE(output.shutDown(std::chrono::steady_clock::now() + std::chrono::seconds(10)));
  }
  ASSERT_NE(recorded->madeOn, nullptr);
  EXPECT_NE(recorded->madeOn, QThread::currentThread());
  EXPECT_EQ(recorded->destroyedOn, recorded->madeOn);
}

// A load that does not finish by the deadline is left to itself: the shut
// down says so at once rather than wait for it.
TEST_F(AudioModule, ALoadStillBusyAtShutDownIsLeftRunning) {
  hold(true);
  {
    AudioModuleOutput output(module);
    output.startLoading();
    EXPECT_FALSE(output.shutDown(std::chrono::steady_clock::now() + std::chrono::milliseconds(20)));
  }
  EXPECT_EQ(recorded->madeOn, nullptr);
  // It finishes alone, and is never destroyed.
  hold(false);
  QElapsedTimer waited;
  waited.start();
  while (std::atomic_ref(recorded->madeOn).load() == nullptr && waited.elapsed() < 10000) QThread::msleep(5);
  EXPECT_EQ(recorded->destroyedOn, nullptr);
}

TEST_F(AudioModule, AnOutputNeverAskedForIsNeverLoaded) {
  { AudioModuleOutput output(module); }
  EXPECT_EQ(recorded->madeOn, nullptr);
}

TEST_F(AudioModule, WithoutTheModuleTheProgramIsSilent) {
  AudioModuleOutput output(QStringLiteral("/nonexistent/wuffel-audio"));
  output.prepare(aSound());
  output.startLoading();
  EXPECT_EQ(output.sampleRate(), kSilentRate);
  EXPECT_EQ(output.channelCount(), kSilentChannels);
  output.start(0, aSound(), 0);
  EXPECT_EQ(recorded->madeOn, nullptr);
  EXPECT_TRUE(output.shutDown(std::chrono::steady_clock::now() + std::chrono::seconds(10)));
}

}  // namespace
}  // namespace wuffel
