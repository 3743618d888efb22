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
  std::int64_t now = 1000;
};

// Silent sounds at 1000 Hz, so frames equal milliseconds.
class FakeLoader : public SoundLoader {
 public:
  SoundPtr load(std::string_view name) override {
    names.emplace_back(name);
    if (fail) throw WuffelError("Cannot open sound file: the file does not exist");
    auto s = std::make_shared<DecodedSound>();
    s->sampleRate = 1000;
    s->channels = 1;
    s->samples.assign(static_cast<std::size_t>(lengthMs), 0);
    s->lengthMs = lengthMs;
    return s;
  }
  std::int64_t lengthMs = 500;
  bool fail = false;
  std::vector<std::string> names;
};

class RecordingOutput : public AudioOutput, public SoundObserver {
 public:
  int sampleRate() const override { return 1000; }
  int channelCount() const override { return 1; }
  void start(int, SoundPtr, std::int64_t frame) override { startFrames.push_back(frame); }
  void stop(int voice) override { stops.push_back(voice); }
  void soundRequested(ChannelId id, SoundOp op) override { requests.emplace_back(id, op); }
  std::vector<std::int64_t> startFrames;
  std::vector<int> stops;
  std::vector<std::pair<ChannelId, SoundOp>> requests;
};

class ChannelTest : public ::testing::Test {
 protected:
  SoundChannel& open(ChannelId id, std::int64_t lengthMs) {
    loader.lengthMs = lengthMs;
    channels[id].open();
    return channels[id];
  }
  FakeClock clock;
  FakeLoader loader;
  RecordingOutput out;
  SoundChannels channels{clock, loader, out, &out};
};

TEST_F(ChannelTest, HitCutsTheBallSoundAndTheNextPlayContinuesFromTheCut) {
  SoundChannel& ball = open(ChannelId::MPlayerBall, 100);
  EXPECT_EQ(ball.lengthMs(), 100);
  ball.play();
  clock.now += 40;
  ball.stop();
  clock.now += 500;
  EXPECT_FALSE(ball.isSounding());
  EXPECT_EQ(ball.positionMs(), 40);
  ball.play();
  clock.now += 30;
  EXPECT_TRUE(ball.isSounding());
  EXPECT_EQ(ball.positionMs(), 70);
  clock.now += 100;  // runs out and stays at the end
  EXPECT_FALSE(ball.isSounding());
  EXPECT_EQ(ball.positionMs(), 100);
  EXPECT_EQ(out.startFrames, (std::vector<std::int64_t>{0, 40}));
}

TEST_F(ChannelTest, PlayedOutSoundStartsAgainFromTheBeginning) {
  SoundChannel& back = open(ChannelId::MPlayerBack, 45);
  back.play();
  clock.now += 200;
  back.play();
  clock.now += 45;
  back.stop();  // stopped exactly at the end counts as played out
  back.play();
  clock.now += 20;
  back.rewind();
  EXPECT_FALSE(back.isSounding());
  EXPECT_EQ(back.positionMs(), 0);
  back.play();
  EXPECT_EQ(out.startFrames, (std::vector<std::int64_t>{0, 0, 0, 0}));
}

TEST_F(ChannelTest, PlayWhileSoundingLeavesItUndisturbed) {
  SoundChannel& ball = open(ChannelId::MPlayerBall, 1000);
  ball.play();
  for (int tick = 0; tick < 4; ++tick) {
    clock.now += 150;
    ball.play();
  }
  EXPECT_EQ(out.startFrames.size(), 1u);
  EXPECT_TRUE(out.stops.empty());
  EXPECT_EQ(ball.positionMs(), 600);
}

TEST_F(ChannelTest, ChanceRequestsRestartOnlyAFileShorterThanTwoSeconds) {
  // nine requests 250 ms apart; a 700 ms file ends at 700 and 1450 and is
  // picked up again by the requests at 750 and 1500
  for (auto [lengthMs, starts] : {std::pair{2200, 1}, {700, 3}, {250, 9}}) {
    out.startFrames.clear();
    SoundChannel& chance = open(ChannelId::MPlayerChance, lengthMs);
    for (int step = 0; step < 9; ++step) {
      if (step) clock.now += 250;
      chance.play();
    }
    EXPECT_EQ(static_cast<int>(out.startFrames.size()), starts) << lengthMs;
    clock.now += 2500;
  }
}

TEST_F(ChannelTest, OperationsOnAClosedChannelReturnAndWarnOncePerChannel) {
  SoundChannel& hit = channels[ChannelId::MPlayerHit];
  ::testing::internal::CaptureStderr();
  hit.play();
  hit.stop();
  hit.rewind();
  channels[ChannelId::MPlayerOver].stop();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "MPlayerHit: No MCI device open; play ignored\n"
            "MPlayerOver: No MCI device open; stop ignored\n");
  EXPECT_TRUE(out.startFrames.empty());
  EXPECT_TRUE(out.stops.empty());
  EXPECT_FALSE(hit.isSounding());
}

TEST_F(ChannelTest, FailedOpenLeavesTheChannelClosed) {
  loader.fail = true;
  EXPECT_THROW(channels[ChannelId::MPlayerBack].open(), WuffelError);
  EXPECT_FALSE(channels[ChannelId::MPlayerBack].isOpen());
}

TEST_F(ChannelTest, ObserverSeesEveryRequestAndCloseAllClosesTheOpenOnes) {
  for (int i = 0; i < kChannelCount; ++i) channels[static_cast<ChannelId>(i)].open();
  EXPECT_EQ(loader.names, (std::vector<std::string>{
                              ".\\SOUND\\BACK.WAV", ".\\SOUND\\BALL.WAV", ".\\SOUND\\HIT.WAV",
                              ".\\SOUND\\MISS.WAV", ".\\SOUND\\OVER.WAV", ".\\SOUND\\CHANCE.WAV"}));
  channels[ChannelId::MPlayerHit].close();
  out.requests.clear();
  SoundChannel& chance = channels[ChannelId::MPlayerChance];
  chance.play();
  chance.play();
  chance.rewind();
  ::testing::internal::CaptureStderr();
  channels[ChannelId::MPlayerHit].stop();
  ::testing::internal::GetCapturedStderr();
  channels.closeAll();

  using C = ChannelId;
  using O = SoundOp;
  const std::vector<std::pair<C, O>> want = {
      {C::MPlayerChance, O::Play}, {C::MPlayerChance, O::Play}, {C::MPlayerChance, O::Rewind},
      {C::MPlayerHit, O::Stop},    {C::MPlayerBack, O::Close},  {C::MPlayerBall, O::Close},
      {C::MPlayerMiss, O::Close},  {C::MPlayerOver, O::Close},  {C::MPlayerChance, O::Close}};
  EXPECT_EQ(out.requests, want);
  EXPECT_FALSE(chance.isOpen());
}

}  // namespace
}  // namespace wuffel
