#include <gtest/gtest.h>

#include <vector>

#include "sound/mixer.h"

namespace wuffel {
namespace {

SoundPtr constant(std::int16_t value, std::size_t frames, int channels = 1) {
  auto s = std::make_shared<DecodedSound>();
  s->sampleRate = 1000;
  s->channels = channels;
  s->samples.assign(frames * channels, value);
  s->lengthMs = static_cast<std::int64_t>(frames);
  return s;
}

SoundPtr ramp(std::size_t frames) {
  auto s = std::make_shared<DecodedSound>();
  s->sampleRate = 1000;
  s->channels = 1;
  for (std::size_t i = 0; i < frames; ++i) s->samples.push_back(static_cast<std::int16_t>(i));
  s->lengthMs = static_cast<std::int64_t>(frames);
  return s;
}

std::vector<std::int16_t> run(Mixer& m, std::size_t frames) {
  std::vector<std::int16_t> out(frames * m.channelCount(), 12345);
  m.mix(out.data(), frames);
  return out;
}

TEST(Mixer, SilentWithoutVoices) {
  Mixer m(1000, 1);
  EXPECT_TRUE(m.idle());
  for (auto v : run(m, 10)) EXPECT_EQ(v, 0);
}

TEST(Mixer, SumsVoicesAndEndsEachAtItsLength) {
  Mixer m(1000, 1);
  m.start(0, constant(100, 4), 0);
  m.start(3, constant(-30, 2), 0);
  EXPECT_FALSE(m.idle());
  EXPECT_EQ(run(m, 6), (std::vector<std::int16_t>{70, 70, 100, 100, 0, 0}));
  EXPECT_TRUE(m.idle());
}

TEST(Mixer, ClipsInsteadOfWrapping) {
  Mixer m(1000, 1);
  for (int v = 0; v < 6; ++v) m.start(v, constant(20000, 3), 0);
  for (auto s : run(m, 3)) EXPECT_EQ(s, 32767);
  for (int v = 0; v < 6; ++v) m.start(v, constant(-20000, 3), 0);
  for (auto s : run(m, 3)) EXPECT_EQ(s, -32768);
}

TEST(Mixer, StartsAtTheGivenFrameAndContinuesAcrossBuffers) {
  Mixer m(1000, 1);
  m.start(1, ramp(1000), 10);
  auto a = run(m, 300);  // longer than one internal block
  auto b = run(m, 5);
  EXPECT_EQ(a[0], 10);
  EXPECT_EQ(a[299], 309);
  EXPECT_EQ(b[0], 310);
  EXPECT_EQ(b[4], 314);
}

TEST(Mixer, StopAndRestartReplaceTheVoice) {
  Mixer m(1000, 1);
  m.start(2, ramp(100), 0);
  run(m, 5);
  m.stop(2);
  EXPECT_EQ(run(m, 3), (std::vector<std::int16_t>{0, 0, 0}));
  m.start(2, ramp(100), 50);
  m.start(2, ramp(100), 7);  // the later request wins
  EXPECT_EQ(run(m, 2), (std::vector<std::int16_t>{7, 8}));
}

TEST(Mixer, StereoKeepsFramesTogether) {
  Mixer m(1000, 2);
  auto s = std::make_shared<DecodedSound>();
  s->sampleRate = 1000;
  s->channels = 2;
  for (int f = 0; f < 200; ++f) {
    s->samples.push_back(static_cast<std::int16_t>(f));
    s->samples.push_back(static_cast<std::int16_t>(-f));
  }
  m.start(0, s, 150);
  auto out = run(m, 60);
  EXPECT_EQ(out[0], 150);
  EXPECT_EQ(out[1], -150);
  EXPECT_EQ(out[98], 199);
  EXPECT_EQ(out[99], -199);
  EXPECT_EQ(out[100], 0);
}

TEST(Mixer, IgnoresSoundsOfAnotherFormatAndBadVoices) {
  Mixer m(1000, 1);
  m.start(0, constant(5, 4, 2), 0);
  m.start(-1, constant(5, 4), 0);
  m.start(Mixer::kMaxVoices, constant(5, 4), 0);
  m.stop(99);
  for (auto v : run(m, 4)) EXPECT_EQ(v, 0);
}

TEST(Mixer, ManyRequestsWithoutDrainingDoNotBreakIt) {
  Mixer m(1000, 1);
  auto s = constant(1, 10);
  for (int i = 0; i < 1000; ++i) m.start(i % 6, s, 0);
  auto out = run(m, 1);
  EXPECT_EQ(out[0], 6);
  m.start(0, constant(9, 1), 0);
  EXPECT_EQ(run(m, 1)[0], 9 + 5);
}

}  // namespace
}  // namespace wuffel
