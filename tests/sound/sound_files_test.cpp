#include <gtest/gtest.h>
#include <sndfile.h>

#include "sound/channel.h"
#include "sound/wave_file_loader.h"

namespace wuffel {
namespace {

// Tests run from the project root, where the committed SOUND folder lives.
TEST(SoundFiles, AreMono16BitPcmWithLengthsThatSuitTheirCues) {
  // ball and back may be requested on every 150 ms tick; the chance tune is
  // longer than its 2 s of requests, so it is heard once
  const std::pair<std::int64_t, std::int64_t> range[kChannelCount] = {
      {20, 149}, {20, 149}, {40, 149}, {1200, 1800}, {2000, 3000}, {2001, 2500}};
  for (int i = 0; i < kChannelCount; ++i) {
    const auto id = static_cast<ChannelId>(i);
    const std::string path = WaveFileLoader::relativeName(channelFileName(id));
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr) << path;
    sf_close(f);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16) << path;
    EXPECT_EQ(info.channels, 1) << path;
    EXPECT_EQ(info.samplerate, 22050) << path;
    const std::int64_t ms = info.frames * 1000 / info.samplerate;
    EXPECT_GE(ms, range[i].first) << path;
    EXPECT_LE(ms, range[i].second) << path;
    EXPECT_EQ(WaveFileLoader(48000, 2).load(channelFileName(id))->lengthMs, ms) << path;
  }
}

}  // namespace
}  // namespace wuffel
