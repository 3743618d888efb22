#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "sound/channel.h"
#include "sound/qt_audio_output.h"
#include "sound/wall_clock.h"
#include "sound/wave_file_loader.h"

namespace wuffel {
namespace {

void spin(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Runs with or without an audio device: either way the channels must play,
// keep time and shut down cleanly.
TEST(QtAudioOutput, PlaysTheGameSoundsOrStaysSilent) {
  QtAudioOutput output;
  EXPECT_GT(output.sampleRate(), 0);
  EXPECT_GE(output.channelCount(), 1);
  EXPECT_LE(output.channelCount(), 2);

  WallClock clock;
  WaveFileLoader loader(output.sampleRate(), output.channelCount());
  SoundChannels channels(clock, loader, output);
  for (int i = 0; i < kChannelCount; ++i) channels[static_cast<ChannelId>(i)].open();

  channels[ChannelId::MPlayerHit].play();
  channels[ChannelId::MPlayerBall].play();
  spin(30);
  channels[ChannelId::MPlayerBall].stop();
  const auto cut = channels[ChannelId::MPlayerBall].positionMs();
  EXPECT_GE(cut, 25);
  spin(150);
  EXPECT_FALSE(channels[ChannelId::MPlayerHit].isSounding());
  EXPECT_EQ(channels[ChannelId::MPlayerBall].positionMs(), cut);
  channels.closeAll();
}

}  // namespace
}  // namespace wuffel

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
