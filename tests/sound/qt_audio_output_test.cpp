#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "sound/channel.h"
#include "app/qt_audio_output.h"
#include "sound/wall_clock.h"
#include "sound/wave_file_loader.h"

namespace wuffel {
namespace {

// With or without an audio device the channels must play, keep time and
// shut down cleanly.
TEST(QtAudioOutput, PlaysTheGameSoundsOrStaysSilent) {
  QtAudioOutput output;
  WallClock clock;
  WaveFileLoader loader(output.sampleRate(), output.channelCount());
  SoundChannels channels(clock, loader, output);
  for (int i = 0; i < kChannelCount; ++i) channels[static_cast<ChannelId>(i)].open();
  channels[ChannelId::MPlayerHit].play();
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 150) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_FALSE(channels[ChannelId::MPlayerHit].isSounding());
  EXPECT_EQ(channels[ChannelId::MPlayerHit].positionMs(), channels[ChannelId::MPlayerHit].lengthMs());
  channels.closeAll();
}

}  // namespace
}  // namespace wuffel

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
