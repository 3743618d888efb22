// The audio device's output where there is no device: the null-sink test
// plays through one.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdlib>

#include "app/qt_audio_output.h"
#include "sound/channel.h"
#include "sound/own_format_loader.h"

namespace wuffel {
namespace {

struct ManualClock : MediaClock {
  std::int64_t nowMs() const override { return now; }
  std::int64_t now = 0;
};

// The channels keep time by their clock whatever the output does, and
// nothing reaches a device that is not there.
TEST(QtAudioOutput, WithoutADeviceItStaysSilentWhileTheChannelsKeepTime) {
  QtAudioOutput output;
  ManualClock clock;
  OwnFormatLoader loader(output);
  SoundChannels channels(clock, loader, output);
  for (int i = 0; i < kChannelCount; ++i) channels[static_cast<ChannelId>(i)].open();
  EXPECT_FALSE(output.hasDevice());
  EXPECT_EQ(output.sampleRate(), kSilentRate);
  EXPECT_EQ(output.channelCount(), kSilentChannels);

  SoundChannel& hit = channels[ChannelId::MPlayerHit];
  hit.play();
  clock.now = hit.lengthMs() - 1;
  EXPECT_TRUE(hit.isSounding());
  clock.now = hit.lengthMs() + 1;
  EXPECT_FALSE(hit.isSounding());
  EXPECT_EQ(hit.positionMs(), hit.lengthMs());
  EXPECT_EQ(output.startsMixed(), 0u);
  channels.closeAll();
}

}  // namespace
}  // namespace wuffel

int main(int argc, char** argv) {
  // A sound server that is not there: no device, whatever this machine has.
  ::setenv("PULSE_SERVER", "unix:/nonexistent/wuffel-no-server", 1);
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
