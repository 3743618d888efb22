#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/error.h"
#include "sound/channel.h"

namespace wuffel {
namespace {

class FakeClock : public MediaClock {
 public:
  std::int64_t nowMs() const override { return now; }
  void advance(std::int64_t ms) { now += ms; }
  std::int64_t now = 1000;
};

// Hands out silent sounds of a chosen length at 1000 Hz, so frames equal ms.
class FakeLoader : public SoundLoader {
 public:
  SoundPtr load(std::string_view name) override {
    names.emplace_back(name);
    if (failWith) throw WuffelError(failWith);
    auto s = std::make_shared<DecodedSound>();
    s->sampleRate = 1000;
    s->channels = 1;
    s->samples.assign(static_cast<std::size_t>(lengthMs), 0);
    s->lengthMs = lengthMs;
    return s;
  }
  std::int64_t lengthMs = 500;
  const char* failWith = nullptr;
  std::vector<std::string> names;
};

struct Start {
  int voice;
  std::int64_t frame;
};

class RecordingOutput : public AudioOutput {
 public:
  int sampleRate() const override { return 1000; }
  int channelCount() const override { return 1; }
  void start(int voice, SoundPtr, std::int64_t frame) override { starts.push_back({voice, frame}); }
  void stop(int voice) override { stops.push_back(voice); }
  std::vector<Start> starts;
  std::vector<int> stops;
};

class RecordingObserver : public SoundObserver {
 public:
  void soundRequested(ChannelId id, SoundOp op) override { seen.emplace_back(id, op); }
  std::vector<std::pair<ChannelId, SoundOp>> seen;
};

class ChannelTest : public ::testing::Test {
 protected:
  // Nine requests, 250 ms apart, as the chance sequence makes them.
  int chanceStarts(std::int64_t lengthMs) {
    SoundChannel& chance = open(ChannelId::MPlayerChance, lengthMs);
    for (int step = 0; step < 9; ++step) {
      if (step) clock.advance(250);
      chance.play();
    }
    return static_cast<int>(output.starts.size());
  }
  SoundChannel& open(ChannelId id, std::int64_t lengthMs) {
    loader.lengthMs = lengthMs;
    channels[id].open();
    return channels[id];
  }
  FakeClock clock;
  FakeLoader loader;
  RecordingOutput output;
  RecordingObserver observer;
  SoundChannels channels{clock, loader, output, &observer};
};

TEST(ChannelNames, TableInCreationOrder) {
  EXPECT_EQ(channelName(ChannelId::MPlayerBack), "MPlayerBack");
  EXPECT_EQ(channelName(ChannelId::MPlayerChance), "MPlayerChance");
  EXPECT_EQ(channelFileName(ChannelId::MPlayerBack), ".\\SOUND\\BACK.WAV");
  EXPECT_EQ(channelFileName(ChannelId::MPlayerBall), ".\\SOUND\\BALL.WAV");
  EXPECT_EQ(channelFileName(ChannelId::MPlayerHit), ".\\SOUND\\HIT.WAV");
  EXPECT_EQ(channelFileName(ChannelId::MPlayerMiss), ".\\SOUND\\MISS.WAV");
  EXPECT_EQ(channelFileName(ChannelId::MPlayerOver), ".\\SOUND\\OVER.WAV");
  EXPECT_EQ(channelFileName(ChannelId::MPlayerChance), ".\\SOUND\\CHANCE.WAV");
  EXPECT_EQ(opName(SoundOp::Rewind), "rewind");
}

TEST_F(ChannelTest, OpenStartsSilentAtZeroWithTheFileLength) {
  SoundChannel& c = open(ChannelId::MPlayerMiss, 1500);
  EXPECT_TRUE(c.isOpen());
  EXPECT_FALSE(c.isSounding());
  EXPECT_EQ(c.positionMs(), 0);
  EXPECT_EQ(c.lengthMs(), 1500);
  EXPECT_EQ(loader.names.back(), ".\\SOUND\\MISS.WAV");
}

TEST_F(ChannelTest, PositionFollowsTheClockAndStopsAtTheEnd) {
  SoundChannel& c = open(ChannelId::MPlayerBall, 50);
  c.play();
  clock.advance(30);
  EXPECT_TRUE(c.isSounding());
  EXPECT_EQ(c.positionMs(), 30);
  clock.advance(100);
  EXPECT_FALSE(c.isSounding());
  EXPECT_EQ(c.positionMs(), 50);
}

TEST_F(ChannelTest, StopKeepsThePositionAndPlayContinuesFromTheCut) {
  SoundChannel& ball = open(ChannelId::MPlayerBall, 100);
  ball.play();
  clock.advance(40);
  ball.stop();  // a hit cuts the ball sound without rewinding
  clock.advance(500);
  EXPECT_FALSE(ball.isSounding());
  EXPECT_EQ(ball.positionMs(), 40);
  ball.play();
  ASSERT_EQ(output.starts.size(), 2u);
  EXPECT_EQ(output.starts[1].frame, 40);
  clock.advance(60);
  EXPECT_EQ(ball.positionMs(), 100);
  EXPECT_FALSE(ball.isSounding());
}

TEST_F(ChannelTest, PlayedOutSoundRestartsFromTheBeginning) {
  SoundChannel& back = open(ChannelId::MPlayerBack, 45);
  back.play();
  clock.advance(200);
  back.play();
  ASSERT_EQ(output.starts.size(), 2u);
  EXPECT_EQ(output.starts[1].frame, 0);
  clock.advance(10);
  EXPECT_EQ(back.positionMs(), 10);
  // stopped exactly at the end also counts as played out
  clock.advance(100);
  back.stop();
  back.play();
  EXPECT_EQ(output.starts.back().frame, 0);
}

TEST_F(ChannelTest, PlayWhileSoundingLeavesItUndisturbed) {
  SoundChannel& ball = open(ChannelId::MPlayerBall, 1000);
  ball.play();
  for (int tick = 0; tick < 4; ++tick) {
    clock.advance(150);
    ball.play();
  }
  EXPECT_EQ(output.starts.size(), 1u);
  EXPECT_TRUE(output.stops.empty());
  EXPECT_EQ(ball.positionMs(), 600);
}

TEST_F(ChannelTest, RewindSilencesAtZero) {
  SoundChannel& miss = open(ChannelId::MPlayerMiss, 1500);
  miss.play();
  clock.advance(800);
  miss.rewind();
  EXPECT_FALSE(miss.isSounding());
  EXPECT_EQ(miss.positionMs(), 0);
  EXPECT_EQ(output.stops.size(), 1u);
  miss.play();
  EXPECT_EQ(output.starts.back().frame, 0);
}

TEST_F(ChannelTest, ChanceSoundLongerThanTheRequestsIsHeardOnce) {
  EXPECT_EQ(chanceStarts(2200), 1);
  clock.advance(200);
  EXPECT_FALSE(channels[ChannelId::MPlayerChance].isSounding());
}

TEST_F(ChannelTest, ShortChanceSoundRestartsAtTheFirstRequestAfterItsEnd) {
  // 700 ms: starts at 0, ends at 700, restarts at 750, ends 1450, restarts 1500
  EXPECT_EQ(chanceStarts(700), 3);
  for (const Start& s : output.starts) EXPECT_EQ(s.frame, 0);
}

TEST_F(ChannelTest, ChanceSoundExactlyAsLongAsTheGapRestartsOnTheBeat) {
  EXPECT_EQ(chanceStarts(250), 9);
}

TEST_F(ChannelTest, OperationsOnAClosedChannelReturnAndWarnOnce) {
  SoundChannel& hit = channels[ChannelId::MPlayerHit];
  ::testing::internal::CaptureStderr();
  hit.play();
  hit.stop();
  hit.rewind();
  hit.play();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "MPlayerHit: No MCI device open; play ignored\n");
  EXPECT_TRUE(output.starts.empty());
  EXPECT_TRUE(output.stops.empty());
  EXPECT_FALSE(hit.isSounding());
  EXPECT_EQ(hit.positionMs(), 0);
  EXPECT_EQ(hit.lengthMs(), 0);

  ::testing::internal::CaptureStderr();
  channels[ChannelId::MPlayerOver].stop();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "MPlayerOver: No MCI device open; stop ignored\n");
}

TEST_F(ChannelTest, FailedOpenLeavesTheChannelClosed) {
  loader.failWith = "Cannot open sound file SOUND/BACK.WAV: the file does not exist";
  SoundChannel& back = channels[ChannelId::MPlayerBack];
  EXPECT_THROW(back.open(), WuffelError);
  EXPECT_FALSE(back.isOpen());
}

TEST_F(ChannelTest, ReopenClosesFirstAndStartsOver) {
  SoundChannel& over = open(ChannelId::MPlayerOver, 2500);
  over.play();
  clock.advance(1000);
  over.open();
  EXPECT_FALSE(over.isSounding());
  EXPECT_EQ(over.positionMs(), 0);
  EXPECT_EQ(output.stops.size(), 1u);
}

TEST_F(ChannelTest, ObserverSeesEveryRequestEvenWithoutEffect) {
  SoundChannel& ball = open(ChannelId::MPlayerBall, 1000);
  ball.play();
  ball.play();
  ball.stop();
  ball.stop();
  ball.rewind();
  ::testing::internal::CaptureStderr();
  channels[ChannelId::MPlayerHit].play();
  ::testing::internal::GetCapturedStderr();
  channels.closeAll();
  using P = std::pair<ChannelId, SoundOp>;
  const std::vector<P> want = {
      {ChannelId::MPlayerBall, SoundOp::Open},  {ChannelId::MPlayerBall, SoundOp::Play},
      {ChannelId::MPlayerBall, SoundOp::Play},  {ChannelId::MPlayerBall, SoundOp::Stop},
      {ChannelId::MPlayerBall, SoundOp::Stop},  {ChannelId::MPlayerBall, SoundOp::Rewind},
      {ChannelId::MPlayerHit, SoundOp::Play},   {ChannelId::MPlayerBall, SoundOp::Close},
  };
  EXPECT_EQ(observer.seen, want);
}

TEST_F(ChannelTest, CloseAllClosesOnlyOpenChannelsAndSilencesThem) {
  for (int i = 0; i < kChannelCount; ++i) channels[static_cast<ChannelId>(i)].open();
  channels[ChannelId::MPlayerChance].play();
  channels.closeAll();
  for (int i = 0; i < kChannelCount; ++i)
    EXPECT_FALSE(channels[static_cast<ChannelId>(i)].isOpen());
  EXPECT_FALSE(channels[ChannelId::MPlayerChance].isSounding());
  EXPECT_EQ(output.stops, std::vector<int>{5});
  const std::vector<std::string> order = {".\\SOUND\\BACK.WAV", ".\\SOUND\\BALL.WAV",
                                          ".\\SOUND\\HIT.WAV",  ".\\SOUND\\MISS.WAV",
                                          ".\\SOUND\\OVER.WAV", ".\\SOUND\\CHANCE.WAV"};
  EXPECT_EQ(loader.names, order);
}

}  // namespace
}  // namespace wuffel
