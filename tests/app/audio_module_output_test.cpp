// The audio output loaded at run time, here from a stand-in module that
// records what its output is asked.
#include <gtest/gtest.h>

#include <QLibrary>
#include <QThread>

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
    QLibrary module(QStringLiteral(WUFFEL_RECORDING_AUDIO_MODULE));
    recorded = reinterpret_cast<RecordedAudioFunction>(module.resolve("wuffelRecordedAudio"))();
    *recorded = {};
  }
  RecordedAudio* recorded = nullptr;
};

TEST_F(AudioModule, SoundsAnnouncedBeforeItIsLoadedReachItsOutput) {
  AudioModuleOutput output(QStringLiteral(WUFFEL_RECORDING_AUDIO_MODULE));
  output.prepare(aSound());
  output.prepare(aSound());
  EXPECT_EQ(recorded->madeOn, nullptr) << "nothing loads before it is asked for";
  // The first play waits for the output, starting the load itself.
  output.start(0, aSound(), 0);
  EXPECT_EQ(recorded->prepared, 2);
  EXPECT_EQ(recorded->started, 1);
  output.prepare(aSound());
  EXPECT_EQ(recorded->prepared, 3);
}

TEST_F(AudioModule, ItsOutputIsMadeAndDestroyedOnAThreadOfItsOwn) {
  {
    AudioModuleOutput output(QStringLiteral(WUFFEL_RECORDING_AUDIO_MODULE));
    output.startLoading();
    EXPECT_EQ(output.sampleRate(), kSilentRate);
    EXPECT_EQ(recorded->destroyedOn, nullptr);
  }
  ASSERT_NE(recorded->madeOn, nullptr);
  EXPECT_NE(recorded->madeOn, QThread::currentThread());
  EXPECT_EQ(recorded->destroyedOn, recorded->madeOn);
}

TEST_F(AudioModule, AnOutputNeverAskedForIsNeverLoaded) {
  { AudioModuleOutput output(QStringLiteral(WUFFEL_RECORDING_AUDIO_MODULE)); }
  EXPECT_EQ(recorded->madeOn, nullptr);
}

TEST_F(AudioModule, WithoutTheModuleTheProgramIsSilent) {
  AudioModuleOutput output(QStringLiteral("/nonexistent/wuffel-audio"));
  output.prepare(aSound());
  EXPECT_EQ(output.sampleRate(), kSilentRate);
  EXPECT_EQ(output.channelCount(), kSilentChannels);
  output.start(0, aSound(), 0);
  output.stop(0);
  EXPECT_EQ(recorded->madeOn, nullptr);
}

}  // namespace
}  // namespace wuffel
