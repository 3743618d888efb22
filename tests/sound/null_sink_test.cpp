// Plays game sounds through the real device path into a private sound
// server's null sink and checks, from a recording of the sink's monitor,
// what was heard. Skipped only where PulseAudio is not installed.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/qt_audio_output.h"
#include "sound/channel.h"
#include "sound/own_format_loader.h"
#include "sound/wall_clock.h"
#include "sound/wave_file_loader.h"
#include "tests/sound/private_sound_server.h"

namespace wuffel {
namespace {

using namespace test;

PrivateServer* server = nullptr;

// The output waits for the device only briefly, and a busy machine may take
// longer to connect; the tests wait here instead.
bool foundDevice(const QtAudioOutput& output) {
  for (int i = 0; i < 50 && !output.hasDevice(); ++i) spin(100);
  return output.hasDevice();
}

TEST(NullSink, TheMissSoundIsHeardWholeAndAgainAfterSilence) {
  ASSERT_NE(server, nullptr);
  if (!server->installed()) GTEST_SKIP() << server->whyNot();
  ASSERT_TRUE(server->running()) << "no private sound server: " << server->whyNot();

  Recorder recorder(server->dir() / "monitor.raw");
  ASSERT_TRUE(recorder.waitForData()) << "parec could not record the null sink";

  // As in the window program: the files open at their own format, before
  // the device is found, and the output converts them to the device's.
  QtAudioOutput output;
  WallClock clock;
  OwnFormatLoader loader(output);
  SoundChannels channels(clock, loader, output);
  SoundChannel& miss = channels[ChannelId::MPlayerMiss];
  miss.open();
  ASSERT_TRUE(foundDevice(output)) << "the sound server runs, but no audio device was found";
  ASSERT_NE(output.sampleRate(), 22050) << "the device should need the sounds converted";
  const double missMs = static_cast<double>(miss.lengthMs());
  miss.play();
  spin(static_cast<int>(miss.lengthMs()) + 300);
  EXPECT_FALSE(miss.isSounding());
  EXPECT_EQ(output.startsMixed(), 1u);

  // By now the feeder sleeps; a new cue has to wake it. This sound was not
  // announced to the output, so it is converted when it is first played.
  WaveFileLoader unannounced;
  SoundChannel hit(ChannelId::MPlayerHit, clock, unannounced, output, nullptr);
  hit.open();
  hit.play();
  for (int i = 0; i < 100 && output.startsMixed() < 2; ++i) spin(10);
  EXPECT_EQ(output.startsMixed(), 2u) << "a cue after silence was not mixed within 1 s";
  spin(static_cast<int>(hit.lengthMs()) + 300);
  hit.close();
  channels.closeAll();

  const std::vector<std::int16_t> rec = recorder.stop();
  ASSERT_GT(rec.size(), static_cast<std::size_t>(kRecordRate)) << "the recording is too short";

  // The miss sound comes first, the hit sound after the pause.
  const SoundPtr missSound = WaveFileLoader(kRecordRate, 1).load(channelFileName(ChannelId::MPlayerMiss));
  const double sourceRms = rmsOf(*missSound);
  const int threshold = static_cast<int>(sourceRms / 4);
  const std::size_t pauseAt = listen(rec, threshold).first +
                              static_cast<std::size_t>(missMs + 150) * kRecordRate / 1000;
  ASSERT_LT(pauseAt, rec.size());
  const Heard first = listen({rec.begin(), rec.begin() + static_cast<long>(pauseAt)}, threshold);
  const Heard second = listen({rec.begin() + static_cast<long>(pauseAt), rec.end()}, threshold);

  std::cout << "heard " << first.ms() << " ms of the " << missMs << " ms sound at rms " << first.rms
            << " (file: " << sourceRms << "), then " << second.ms() << " ms\n";
  ASSERT_GT(first.rms, 0) << "nothing was heard";
  EXPECT_GT(first.rms, sourceRms * 0.5);
  EXPECT_GT(first.ms(), missMs * 0.7) << "of " << missMs << " ms";
  EXPECT_LT(first.ms(), missMs + 100.0);
  EXPECT_GT(second.rms, 0) << "the second cue was not heard";
}

// A few seconds after the last sound the stream is corked, so the device
// can sleep; the next sound uncorks it and is heard.
TEST(NullSink, TheStreamIsCorkedWhileSilentAndWakesForTheNextSound) {
  ASSERT_NE(server, nullptr);
  if (!server->installed()) GTEST_SKIP() << server->whyNot();
  ASSERT_TRUE(server->running()) << "no private sound server: " << server->whyNot();

  QtAudioOutput output;
  WallClock clock;
  OwnFormatLoader loader(output);
  SoundChannels channels(clock, loader, output);
  SoundChannel& hit = channels[ChannelId::MPlayerHit];
  hit.open();
  ASSERT_TRUE(foundDevice(output)) << "the sound server runs, but no audio device was found";
  hit.play();
  bool corked = false;
  for (int i = 0; i < 100 && !corked; ++i) {
    spin(100);
    corked = server->sinkInputs().find("Corked: yes") != std::string::npos;
  }
  ASSERT_TRUE(corked) << "still running 10 s after the last sound:\n" << server->sinkInputs();

  Recorder recorder(server->dir() / "uncorked.raw");
  ASSERT_TRUE(recorder.waitForData()) << "parec could not record the null sink";
  hit.rewind();
  hit.play();
  for (int i = 0; i < 100 && output.startsMixed() < 2; ++i) spin(10);
  EXPECT_EQ(output.startsMixed(), 2u) << "the cue after the pause was not mixed within 1 s";
  spin(static_cast<int>(hit.lengthMs()) + 300);
  EXPECT_NE(server->sinkInputs().find("Corked: no"), std::string::npos);
  channels.closeAll();
  const std::vector<std::int16_t> rec = recorder.stop();
  const SoundPtr hitSound = WaveFileLoader(kRecordRate, 1).load(channelFileName(ChannelId::MPlayerHit));
  EXPECT_GT(listen(rec, static_cast<int>(rmsOf(*hitSound) / 4)).rms, 0) << "the sound after the pause was not heard";
}

// A stop drops what the device still holds of the sound, so the sound ends
// when it is stopped rather than a buffer's length later. Scheduling on a
// busy machine delays a cut by some milliseconds, so the figure taken is the
// best of several cuts.
TEST(NullSink, AStoppedSoundFallsSilentAtOnce) {
  ASSERT_NE(server, nullptr);
  if (!server->installed()) GTEST_SKIP() << server->whyNot();
  ASSERT_TRUE(server->running()) << "no private sound server: " << server->whyNot();

  Recorder recorder(server->dir() / "cut.raw");
  ASSERT_TRUE(recorder.waitForData()) << "parec could not record the null sink";

  QtAudioOutput output;
  WallClock clock;
  OwnFormatLoader loader(output);
  SoundChannels channels(clock, loader, output);
  SoundChannel& miss = channels[ChannelId::MPlayerMiss];
  miss.open();
  ASSERT_TRUE(foundDevice(output)) << "the sound server runs, but no audio device was found";
  spin(100);  // converted ahead, as in a game

  // From the moment its first frames reach the device, each cue sounds for
  // the time it is given before its stop.
  constexpr int kCuts = 5;
  std::vector<double> givenMs;
  for (int cut = 0; cut < kCuts; ++cut) {
    const std::uint64_t before = output.startsMixed();
    const auto played = std::chrono::steady_clock::now();
    miss.play();
    while (output.startsMixed() == before && std::chrono::steady_clock::now() - played < std::chrono::seconds(1))
      std::this_thread::yield();
    const auto mixed = std::chrono::steady_clock::now();
    std::this_thread::sleep_until(played + std::chrono::milliseconds(400));
    miss.stop();
    miss.rewind();
    givenMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - mixed).count());
    spin(300);
  }
  channels.closeAll();

  const std::vector<std::int16_t> rec = recorder.stop();
  const SoundPtr missSound = WaveFileLoader(kRecordRate, 1).load(channelFileName(ChannelId::MPlayerMiss));
  const std::vector<Heard> heard = stretches(rec, static_cast<int>(rmsOf(*missSound) / 4));
  ASSERT_EQ(heard.size(), givenMs.size()) << "the cues were not heard apart";
  std::vector<double> overrunMs;
  for (std::size_t i = 0; i < heard.size(); ++i) {
    overrunMs.push_back(heard[i].ms() - givenMs[i]);
    std::cout << "stopped after " << givenMs[i] << " ms, heard for " << heard[i].ms() << " ms\n";
  }
  // A busy machine can only make a cut late. Without the drop, none ends
  // sooner than the device's queue allows (it holds up to 60 ms).
  EXPECT_LT(*std::min_element(overrunMs.begin(), overrunMs.end()), 12.0);
}

// Every cut of a sounding voice hands the sound to a fresh stream. However
// many cuts a long game brings, a steady sound after them plays without
// holes: a stream whose buffer had shrunk below the feeder's period would
// play each period's few milliseconds and fall silent for the rest.
TEST(NullSink, ASoundAfterManyCutsPlaysWithoutHoles) {
  ASSERT_NE(server, nullptr);
  if (!server->installed()) GTEST_SKIP() << server->whyNot();
  ASSERT_TRUE(server->running()) << "no private sound server: " << server->whyNot();

  QtAudioOutput output;
  ASSERT_TRUE(foundDevice(output)) << "the sound server runs, but no audio device was found";
  const SoundPtr steady = tone(output.sampleRate(), output.channelCount(), 1000);
  constexpr int kCuts = 30;  // a few games' worth of misses and swings
  for (int cut = 0; cut < kCuts; ++cut) {
    const std::uint64_t before = output.startsMixed();
    output.start(0, steady, 0);
    for (int i = 0; i < 100 && output.startsMixed() == before; ++i) spin(2);
    spin(20);
    output.stop(0);
    spin(10);
  }
  spin(300);

  Recorder recorder(server->dir() / "after-cuts.raw");
  ASSERT_TRUE(recorder.waitForData()) << "parec could not record the null sink";
  output.start(1, steady, 0);
  spin(1300);
  const std::vector<std::int16_t> rec = recorder.stop();
  const std::vector<double> holes = dropouts(rec);
  double silentMs = 0;
  for (double ms : holes) silentMs += ms;
  std::cout << "after " << kCuts << " cuts: heard " << listen(rec, 3000).ms() << " ms of a 1000 ms tone with "
            << holes.size() << " holes, " << silentMs << " ms in all\n";
  EXPECT_GT(listen(rec, 3000).ms(), 900.0) << "the tone was not heard whole";
  // A busy machine may stall the feeder once or twice; a shrunken buffer
  // leaves a hole every period.
  EXPECT_LE(holes.size(), 2u);
  EXPECT_LT(silentMs, 30.0);
}

}  // namespace
}  // namespace wuffel

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Not while the build only lists the tests.
  std::optional<wuffel::test::PrivateServer> server;
  if (!GTEST_FLAG_GET(list_tests)) {
    server.emplace();  // before Qt looks for devices
    wuffel::server = &*server;
  }
  int result = 0;
  {
    QCoreApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  return result;
}
