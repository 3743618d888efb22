// A sound server that starts only after the game, and one that goes away
// under a running game and comes back: the output takes the sound up soon
// after the server answers, each voice where the requests and the clock
// put it by then. Recorded from a private server's null sink; skipped only
// where PulseAudio is not installed.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <thread>
#include <vector>

#include "app/qt_audio_output.h"
#include "tests/sound/private_sound_server.h"

namespace wuffel {
namespace {

using namespace test;
using Clock = std::chrono::steady_clock;

PrivateServer* server = nullptr;

// The output tries the server once a second.
constexpr double kTakenUpWithinMs = 2000;
// A voice sounds a little softer than this; two at once, far louder.
constexpr int kVoiceAmplitude = 6000;
constexpr int kSteadyMs = 14000;

double msBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

void spinUntil(Clock::time_point when) {
  const double left = msBetween(Clock::now(), when);
  if (left > 0) spin(static_cast<int>(left));
}

int loudest(const std::vector<std::int16_t>& rec) {
  int most = 0;
  for (std::int16_t v : rec) most = std::max(most, std::abs(int(v)));
  return most;
}

// After the server answered, until the steady voice's time is up: how long
// until the output had a stream again, and what was heard. (Where in the
// voice the sound goes on is the mixer's test: the null sink keeps time by
// its latest client's latency, so the recording shows what sounded, not
// exactly when.)
struct Outcome {
  double takenUpMs = -1;  // from the server answering to a stream
  Heard heard;
  int loudest = 0;
};

Outcome listenAfterTheServerAnswers(QtAudioOutput& output, Clock::time_point begun) {
  Outcome out;
  const Clock::time_point answered = Clock::now();
  Recorder recorder(server->dir() / "after.raw");
  // The recorder may take a while to start on a busy machine; the output
  // does not wait for it.
  while (!output.hasDevice() && msBetween(answered, Clock::now()) < 10000)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  if (!output.hasDevice()) return out;
  out.takenUpMs = msBetween(answered, Clock::now());
  if (!recorder.waitForData()) return out;
  spinUntil(begun + std::chrono::milliseconds(kSteadyMs));
  const std::vector<std::int16_t> rec = recorder.stop();
  out.heard = listen(rec, kVoiceAmplitude / 2);
  out.loudest = loudest(rec);
  std::cout << "a stream " << out.takenUpMs << " ms after the server answered; heard " << out.heard.ms()
            << " ms, loudest " << out.loudest << "\n";
  return out;
}

void expectTheSteadyVoiceAlone(const Outcome& out) {
  ASSERT_GE(out.takenUpMs, 0) << "no stream 10 s after the server answered";
  EXPECT_LT(out.takenUpMs, kTakenUpWithinMs);
  EXPECT_GT(out.heard.ms(), 1000.0) << "the voice still sounding was not heard";
  EXPECT_LT(out.loudest, kVoiceAmplitude * 3 / 2) << "a voice that had ended or was stopped is heard";
}

// First, so that under a plain run of the program, too, Qt Multimedia has
// never reached a server before.
TEST(ServerComesBack, AServerStartedAfterTheGameIsTakenUp) {
  ASSERT_NE(server, nullptr);
  if (!server->installed()) GTEST_SKIP() << server->whyNot();
  ASSERT_FALSE(server->running());

  QtAudioOutput output;
  spin(300);
  EXPECT_FALSE(output.hasDevice());
  const Clock::time_point begun = Clock::now();
  output.start(0, tone(output.sampleRate(), output.channelCount(), kSteadyMs, kVoiceAmplitude), 0);
  output.start(1, tone(output.sampleRate(), output.channelCount(), 3000, kVoiceAmplitude), 0);  // over by then
  spinUntil(begun + std::chrono::seconds(8));
  ASSERT_TRUE(server->start()) << server->whyNot();
  expectTheSteadyVoiceAlone(listenAfterTheServerAnswers(output, begun));
}

TEST(ServerComesBack, TheSoundComesBackAfterTheServerRestartsMidGame) {
  ASSERT_NE(server, nullptr);
  if (!server->installed()) GTEST_SKIP() << server->whyNot();
  ASSERT_TRUE(server->start()) << server->whyNot();

  QtAudioOutput output;
  for (int i = 0; i < 50 && !output.hasDevice(); ++i) spin(100);
  ASSERT_TRUE(output.hasDevice()) << "the sound server runs, but no audio device was found";
  const int rate = output.sampleRate();
  const int channels = output.channelCount();
  const Clock::time_point begun = Clock::now();
  output.start(0, tone(rate, channels, kSteadyMs, kVoiceAmplitude), 0);
  spin(1000);
  server->kill();
  spin(300);
  EXPECT_FALSE(output.hasDevice()) << "the stream outlived the server";
  // While the server is away: one voice ends, another is cut.
  output.start(1, tone(rate, channels, 1000, kVoiceAmplitude), 0);
  output.start(2, tone(rate, channels, kSteadyMs, kVoiceAmplitude), 0);
  spin(300);
  output.stop(2);
  spinUntil(begun + std::chrono::milliseconds(4500));
  ASSERT_TRUE(server->start()) << server->whyNot();
  expectTheSteadyVoiceAlone(listenAfterTheServerAnswers(output, begun));
}

}  // namespace
}  // namespace wuffel

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The environment points at the server before Qt looks for devices; the
  // tests start it themselves. Not while the build only lists the tests.
  std::optional<wuffel::test::PrivateServer> server;
  if (!GTEST_FLAG_GET(list_tests)) {
    server.emplace(false);
    wuffel::server = &*server;
  }
  int result = 0;
  {
    QCoreApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  return result;
}
