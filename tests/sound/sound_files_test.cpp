#include <gtest/gtest.h>
#include <sndfile.h>

#include <string>

#include "sound/channel.h"
#include "sound/wave_file_loader.h"

namespace wuffel {
namespace {

struct FileInfo {
  SF_INFO info{};
  bool opened = false;
  std::int64_t lengthMs() const { return info.frames * 1000 / info.samplerate; }
};

// Tests run from the project root, where the committed SOUND folder lives.
FileInfo inspect(ChannelId id) {
  FileInfo f;
  const std::string path = WaveFileLoader::relativeName(channelFileName(id));
  SNDFILE* s = sf_open(path.c_str(), SFM_READ, &f.info);
  f.opened = s != nullptr;
  if (s) sf_close(s);
  return f;
}

TEST(SoundFiles, AllSixAre16BitMonoPcmAt22050) {
  for (int i = 0; i < kChannelCount; ++i) {
    const ChannelId id = static_cast<ChannelId>(i);
    FileInfo f = inspect(id);
    ASSERT_TRUE(f.opened) << channelFileName(id);
    EXPECT_EQ(f.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16) << channelFileName(id);
    EXPECT_EQ(f.info.channels, 1);
    EXPECT_EQ(f.info.samplerate, 22050);
    EXPECT_GT(f.info.frames, 0);
  }
}

TEST(SoundFiles, LengthsSuitTheirCues) {
  // ball and back may be requested on every 150 ms tick
  EXPECT_LT(inspect(ChannelId::MPlayerBack).lengthMs(), 150);
  EXPECT_LT(inspect(ChannelId::MPlayerBall).lengthMs(), 150);
  EXPECT_LT(inspect(ChannelId::MPlayerHit).lengthMs(), 150);
  const auto miss = inspect(ChannelId::MPlayerMiss).lengthMs();
  EXPECT_GE(miss, 1200);
  EXPECT_LE(miss, 1800);
  const auto over = inspect(ChannelId::MPlayerOver).lengthMs();
  EXPECT_GE(over, 2000);
  EXPECT_LE(over, 3000);
  // longer than the 2 s of chance requests, so it is heard once
  const auto chance = inspect(ChannelId::MPlayerChance).lengthMs();
  EXPECT_GT(chance, 2000);
  EXPECT_LE(chance, 2500);
}

TEST(SoundFiles, LoadThroughTheChannelLoader) {
  WaveFileLoader loader(48000, 2);
  for (int i = 0; i < kChannelCount; ++i) {
    SoundPtr s = loader.load(channelFileName(static_cast<ChannelId>(i)));
    EXPECT_EQ(s->lengthMs, inspect(static_cast<ChannelId>(i)).lengthMs());
  }
}

}  // namespace
}  // namespace wuffel
