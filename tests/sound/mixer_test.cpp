#include <gtest/gtest.h>

#include <vector>

#include "sound/mixer.h"

namespace wuffel {
namespace {

// Sample i of channel c holds sign(c) * i.
SoundPtr ramp(std::size_t frames, int channels = 1) {
  auto s = std::make_shared<DecodedSound>();
  s->sampleRate = 1000;
  s->channels = channels;
  for (std::size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      s->samples.push_back(static_cast<std::int16_t>((c ? -1 : 1) * static_cast<int>(i)));
  return s;
}

SoundPtr constant(std::int16_t value, std::size_t frames) {
  auto s = std::make_shared<DecodedSound>();
  s->sampleRate = 1000;
  s->channels = 1;
  s->samples.assign(frames, value);
  return s;
}

std::vector<std::int16_t> run(Mixer& m, std::size_t frames) {
  std::vector<std::int16_t> out(frames * m.channelCount(), 12345);
  m.mix(out.data(), frames);
  return out;
}

TEST(Mixer, SumsVoicesEndingEachAtItsLengthAndClipsTheSum) {
  Mixer m(1000, 1);
  EXPECT_EQ(run(m, 2), (std::vector<std::int16_t>{0, 0}));
  m.start(0, constant(100, 4), 0);
  m.start(3, constant(-30, 2), 0);
  EXPECT_FALSE(m.idle());
  EXPECT_EQ(run(m, 6), (std::vector<std::int16_t>{70, 70, 100, 100, 0, 0}));
  EXPECT_TRUE(m.idle());

  for (int v = 0; v < 6; ++v) m.start(v, constant(20000, 1), 0);
  EXPECT_EQ(run(m, 1)[0], 32767);
  for (int v = 0; v < 6; ++v) m.start(v, constant(-20000, 1), 0);
  EXPECT_EQ(run(m, 1)[0], -32768);
}

TEST(Mixer, StartsAtTheFrameGivenAndTheLatestRequestWins) {
  Mixer m(1000, 1);
  m.start(1, ramp(1000), 10);
  auto a = run(m, 300);  // longer than one internal block
  EXPECT_EQ(a[0], 10);
  EXPECT_EQ(a[299], 309);
  EXPECT_EQ(run(m, 1)[0], 310);
  m.stop(1);
  EXPECT_EQ(run(m, 1)[0], 0);
  m.start(2, ramp(100), 50);
  m.start(2, ramp(100), 7);
  EXPECT_EQ(m.startsMixed(), 1u);  // counted once mixed, stops not at all
  EXPECT_EQ(run(m, 2), (std::vector<std::int16_t>{7, 8}));
  EXPECT_EQ(m.startsMixed(), 3u);
}

TEST(Mixer, StereoKeepsFramesTogether) {
  Mixer m(1000, 2);
  m.start(0, ramp(200, 2), 150);
  auto out = run(m, 60);
  EXPECT_EQ(out[0], 150);
  EXPECT_EQ(out[1], -150);
  EXPECT_EQ(out[99], -199);
  EXPECT_EQ(out[100], 0);
}

TEST(Mixer, TheGainScalesTheSumBeforeItIsClipped) {
  Mixer m(1000, 1);
  m.start(0, constant(20000, 4), 0);
  m.start(1, constant(20000, 4), 0);
  EXPECT_EQ(run(m, 1)[0], 32767);
  m.setGain(0.25);
  EXPECT_EQ(run(m, 1)[0], 10000);
  m.setGain(0);
  EXPECT_EQ(run(m, 1)[0], 0);
  m.setGain(1);
  EXPECT_EQ(run(m, 1)[0], 32767);
}

// What a stop leaves in the device's queue: a stopped voice counts while
// any of its frames are among the last ones mixed, and once those are
// dropped, the voices still going play them again at their own places.
TEST(Mixer, AStopsSoundInTheLastFramesMixedCanBeDroppedWhileOthersReplayThem) {
  Mixer m(1000, 1);
  m.start(0, ramp(1000), 0);
  m.start(1, constant(1000, 5), 0);
  run(m, 20);
  m.stop(1);  // ended 15 frames ago
  m.applyCommands();
  EXPECT_TRUE(m.stoppedSoundWithin(16));
  EXPECT_FALSE(m.stoppedSoundWithin(15));

  m.stop(0);  // sounding
  m.start(2, ramp(1000), 100);
  m.applyCommands();
  EXPECT_TRUE(m.stoppedSoundWithin(1));
  m.unmix(10);
  EXPECT_FALSE(m.stoppedSoundWithin(20)) << "the dropped frames held all that was stopped";
  // Voice 2 was started after frame 20 of the mix, before the drop back to
  // frame 10: it waits for its place.
  const auto out = run(m, 12);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[9], 0);
  EXPECT_EQ(out[10], 100);
  EXPECT_EQ(out[11], 101);

  m.start(3, ramp(1000), 0);
  run(m, 30);
  m.start(4, constant(7, 100), 0);
  m.unmix(10);
  EXPECT_FALSE(m.idle());
  const auto again = run(m, 2);
  EXPECT_EQ(again[0], 122 + 20 + 7) << "voices 2 and 3 replay their dropped frames";

  m.start(5, constant(1, 3), 0);
  m.stop(5);  // never mixed: nothing of it can be queued
  m.applyCommands();
  EXPECT_FALSE(m.stoppedSoundWithin(1000));
}

// Without a device the voices move on unheard: once there is one again,
// what should be sounding goes on from where the clock has it, and what
// ended or was stopped meanwhile stays silent. None of it was mixed, and a
// device holds none of it.
TEST(Mixer, FramesThatWentByUnheardMoveTheVoicesOn) {
  Mixer m(1000, 1);
  m.start(0, ramp(1000), 0);
  m.start(1, constant(7, 50), 0);  // over by then
  m.start(2, ramp(1000), 0);       // stopped meanwhile
  m.applyCommands();
  m.pass(100);
  m.stop(2);
  m.applyCommands();
  m.pass(50);
  EXPECT_FALSE(m.stoppedSoundWithin(1000));
  EXPECT_EQ(run(m, 2), (std::vector<std::int16_t>{150, 151}));
  EXPECT_EQ(m.startsMixed(), 0u);
  m.start(3, ramp(1000), 5);
  m.applyCommands();
  m.pass(0);  // started and heard at once
  EXPECT_EQ(run(m, 1)[0], 152 + 5);
  EXPECT_EQ(m.startsMixed(), 1u);
}

TEST(Mixer, SurvivesAFullQueue) {
  Mixer m(1000, 1);
  // far more requests than the queue holds while the audio thread is away
  auto one = constant(1, 10);
  for (int i = 0; i < 1000; ++i) m.start(i % 6, one, 0);
  EXPECT_EQ(run(m, 1)[0], 6);
  m.start(0, constant(9, 1), 0);
  EXPECT_EQ(run(m, 1)[0], 9 + 5);
}

}  // namespace
}  // namespace wuffel
