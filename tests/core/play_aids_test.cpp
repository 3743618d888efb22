// Slower games, the assist and their own best scores, through the runner as
// a script drives them, and the parts beneath: the stretched timers and the
// channels' positions at a slower pace.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frontend/aided_best_caption.h"
#include "frontend/sound_cues.h"
#include "platform/stretched_scheduler.h"
#include "script_run.h"
#include "sim/runner.h"
#include "sim/verify.h"
#include "sim/virtual_handheld.h"
#include "sound/audio_output.h"
#include "store/memory_settings.h"
#include "store/player_settings_store.h"

namespace wuffel {
namespace {

using testing::lineStarting;
using testing::run;

bool has(const std::string& trace, const std::string& lines) { return trace.find(lines) != std::string::npos; }

// GAME A pressed at 1000 and released at 1100, on a clock whose first ball
// comes in lane 2.
const std::string kGameA = "utc 00:00:00.014\nstart\nat 1000\npress 569 56 left\nat 1100\nrelease 569 56 left\n";

std::string scoreOf(const std::string& trace) {
  const std::string vars = trace.substr(trace.rfind("dump vars"));
  const auto at = vars.find("Score=") + 6;
  return vars.substr(at, vars.find(' ', at) - at);
}

TEST(Speed, EveryTimerIsStretchedWhileTheTraceKeepsTheGamesOwnIntervals) {
  for (const auto& [speed, firstTick] : {std::pair{"50", "1540"}, {"60", "1467"}, {"75", "1393"}, {"100", "1320"}}) {
    const auto r = run(std::string("setting speed ") + speed + "\n" + kGameA + "at 1600\ndump\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_TRUE(has(r.trace, "1100 timer TimerGioco 220 on\n")) << speed;
    EXPECT_TRUE(has(r.trace, std::string("\n") + firstTick + " tick TimerGioco\n")) << speed;
    EXPECT_TRUE(has(lineStarting(r.trace, "1600 dump timers"), "TimerGioco=220/on TimerPrimaPalla=13200/on")) << speed;
  }
  // Nothing else moves at the original speed: its trace is today's, line for line.
  EXPECT_EQ(run("setting speed 100\n" + kGameA + "at 30000\n").trace, run(kGameA + "at 30000\n").trace);
}

TEST(Speed, ASoundLastsLongerByTheSameFactorAndChangingSpeedKeepsItsPlace) {
  sim::PlatformSetup setup;
  MemorySettings store;
  sim::VirtualHandheld sim(setup, store);
  sim.handheld.start();
  SoundChannel& miss = sim.channels[ChannelId::MPlayerMiss];
  sim.channels.setSpeed(50);
  miss.play();
  sim.advanceTo(400);
  EXPECT_EQ(miss.positionMs(), 200);
  sim.channels.setSpeed(100);
  sim.advanceTo(500);
  EXPECT_EQ(miss.positionMs(), 300);
  sim.channels.setSpeed(75);
  sim.advanceTo(500 + (miss.lengthMs() - 300) * 100 / 75 + 2);
  EXPECT_FALSE(miss.isSounding());
  EXPECT_EQ(miss.positionMs(), miss.lengthMs());
}

TEST(Speed, ChannelsSharingAnOutputEachStartTheirVoicesAtTheirOwnSpeed) {
  struct Voices : AudioOutput {
    int speed = 100;
    std::vector<int> startedAt;
    int sampleRate() const override { return 8000; }
    int channelCount() const override { return 1; }
    void start(int, SoundPtr, std::int64_t) override { startedAt.push_back(speed); }
    void stop(int) override {}
    void setSpeed(int percent) override { speed = percent; }
  } output;
  struct Clock : MediaClock {
    std::int64_t nowMs() const override { return 0; }
  } clock;
  struct Loader : SoundLoader {
    SoundPtr load(std::string_view) override {
      auto sound = std::make_shared<DecodedSound>();
      sound->sampleRate = 8000;
      sound->channels = 1;
      sound->lengthMs = 500;
      return sound;
    }
  } loader;
  SoundChannels game(clock, loader, output), replay(clock, loader, output);
  game[ChannelId::MPlayerHit].open();
  replay[ChannelId::MPlayerHit].open();
  replay.setSpeed(50);
  game[ChannelId::MPlayerHit].play();
  replay[ChannelId::MPlayerHit].play();
  EXPECT_EQ(output.startedAt, (std::vector<int>{100, 50}));
}

TEST(Speed, StretchedIntervalsRoundToTheNearestMillisecondAndNeverVanish) {
  struct Log : TimerScheduler {
    int last = -1;
    void start(int, int ms) override { last = ms; }
    void stop(int) override {}
  } clock;
  StretchedScheduler paced(clock);
  paced.setPercent(60);
  for (const auto& [given, due] : {std::pair{220, 367}, {1, 2}, {1000, 1667}, {0, 0}}) {
    paced.start(0, given);
    EXPECT_EQ(clock.last, due) << given;
  }
  paced.setPercent(75);
  paced.resume(0, 350);
  EXPECT_EQ(clock.last, 467);
}

TEST(Speed, ARecordedSlowerGameVerifiesAndReplaysAtItsSpeed) {
  std::istringstream script("setting speed 60\n" + kGameA + "at 120000\n");
  std::ostringstream trace, errors;
  std::string recording;
  const auto result = sim::runScript(script, trace, errors, "slow", [&](const Recording& r) { recording = r.text; });
  ASSERT_EQ(result.status, 0) << errors.str();
  ASSERT_FALSE(recording.empty());
  EXPECT_TRUE(has(recording, "\nsetting speed 60\n"));
  std::ostringstream out;
  EXPECT_EQ(sim::verifyRecording(recording, out, errors, "slow"), 0) << out.str() << errors.str();
  EXPECT_EQ(out.str().rfind("verified A ", 0), 0u) << out.str();
  // The same events at the original speed end elsewhere.
  std::string original = recording;
  original.replace(original.find("setting speed 60\n"), 17, "");
  std::ostringstream diverged;
  EXPECT_EQ(sim::verifyRecording(original, diverged, errors, "fast"), 1) << diverged.str();
}

// A Game A played with the assist, swinging whenever a ball is at the
// racket: the script of its swings alone, at the moments they came.
std::string swingsOfAnAssistedGame(std::int64_t untilMs) {
  MemorySettings store;
  store.put(PlayerSettingsStore::storedName("assist"), true, "1");
  sim::PlatformSetup setup;
  setup.utcAtZero = 14;
  sim::VirtualHandheld sim(setup, store);
  Handheld& h = sim.handheld;
  h.start();
  const auto& a = elementInfo(ElementId::Puls_GameA);
  sim.advanceTo(1000);
  h.mousePress(a.left + 2, a.top + 2, MouseButton::Left);
  sim.advanceTo(1100);
  h.mouseRelease(a.left + 2, a.top + 2, MouseButton::Left);
  std::string swings;
  while (sim.now() < untilMs && h.variables().GameRunning) {
    sim.advanceTo(sim.now() + 10);
    const int lane = h.variables().PlayerLane;
    const bool ballAtRacket = h.faceState().visible(kSegmentTables.throwCell(lane, kRacketThrowCell)) ||
                              h.rallyState().cell(lane, kRacketRallyCell).incoming;
    if (!ballAtRacket || !h.variables().SwingReady) continue;
    swings += "at " + std::to_string(sim.now()) + "\nkeydown 17\n";
    h.keyDown(VirtualKey::Ctrl);
    sim.advanceTo(sim.now() + 10);
    swings += "at " + std::to_string(sim.now()) + "\nkeyup 17\n";
    h.keyUp(VirtualKey::Ctrl);
  }
  return swings;
}

TEST(Assist, AScriptThatOnlySwingsAtTheRightMomentsScores) {
  const std::string swings = swingsOfAnAssistedGame(90000);
  ASSERT_FALSE(has(swings, "keydown 38") || has(swings, "keydown 40"));
  const auto assisted = run("setting assist 1\n" + kGameA + swings + "at 90000\ndump\n");
  ASSERT_EQ(assisted.status, 0) << assisted.errors;
  const int score = std::stoi(scoreOf(assisted.trace));
  EXPECT_GE(score, 20);
  // The same swings leave a player who never moves far behind.
  const auto unassisted = run(kGameA + swings + "at 90000\ndump\n");
  EXPECT_LT(std::stoi(scoreOf(unassisted.trace)), score / 2);
}

TEST(Assist, OnlyTheSwingIsLeftToThePlayer) {
  // The arrows move no one; Space swings with the original keys; a click on
  // the face swings, and so does one on HIT; the game buttons still start games.
  const auto r = run("setting assist 1\n" + kGameA + "at 1200\nkeydown 40\nkeyup 40\nkeydown 38\nkeyup 38\ndump\n"
                     "at 2000\nkeydown 32\nat 2010\nkeyup 32\nat 3000\npress 300 300 left\nat 3010\nrelease 300 300 left\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(has(lineStarting(r.trace, "1200 dump vars"), " PlayerLane=2 "));
  EXPECT_TRUE(has(r.trace, "2000 hide Puls_Hit\n"));
  EXPECT_TRUE(has(r.trace, "2010 show Puls_Hit\n"));
  EXPECT_TRUE(has(r.trace, "3000 hide Puls_Hit\n"));
  // Without the assist the arrows move as ever, and Space does nothing.
  const auto plain = run(kGameA + "at 1200\nkeydown 40\nkeyup 40\ndump\nat 2000\nkeydown 32\n");
  EXPECT_TRUE(has(lineStarting(plain.trace, "1200 dump vars"), " PlayerLane=3 "));
  EXPECT_FALSE(has(plain.trace, "2000 hide Puls_Hit\n"));
}

TEST(AidedBests, AnAidedGameKeepsItsOwnBestAndNeverTouchesTheOriginal) {
  // Swings for a minute, then lets the balls pass until the game is over.
  const std::string swings = swingsOfAnAssistedGame(60000);
  const auto r = run("store HiscoreA text 9000\nstore HiScoreA-assist text 4\nsetting assist 1\n" + kGameA + swings +
                     "at 600000\npress 569 56 left\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  const std::string score = scoreOf(r.trace);
  ASSERT_GT(std::stoi(score), 4);
  EXPECT_TRUE(has(r.trace, "1000 store read HiScoreA-assist 4\n"));
  EXPECT_TRUE(has(r.trace, " store write HiScoreA-assist " + score + "\n"));
  EXPECT_FALSE(has(r.trace, "store write HiScoreA "));
  EXPECT_TRUE(has(lineStarting(r.trace, "600000 dump vars"), " HiScoreA=9000 "));
  EXPECT_TRUE(has(lineStarting(r.trace, "600000 dump store"), "HiscoreA=9000 HiScoreA-assist=" + score));
  // GAME A held shows that best again: the digits read the score.
  std::string digits = lineStarting(r.trace, "600000 dump digits");
  std::string shown;
  for (char c : digits.substr(std::string("600000 dump digits").size()))
    if (c >= '0' && c <= '9') shown += c;
  EXPECT_EQ(shown, score);
}

TEST(AidedBests, EachSpeedAndTheAssistHaveTheirOwnNameAndResetClearsThoseInUse) {
  const auto slow = run("setting speed 75\nsetting assist 1\n" + kGameA);
  EXPECT_TRUE(has(slow.trace, "1000 store read HiScoreA-speed75-assist 0\n"));
  const auto reset = run("setting speed 50\nstart\nmenu PM_8HiScore\n");
  EXPECT_TRUE(has(reset.trace, "0 store write HiScoreA 0\n0 store write HiScoreB 0\n"
                               "0 store write HiScoreA-speed50 0\n0 store write HiScoreB-speed50 0\n0 beep\n"));
  // The original way reads only the original names, as always.
  EXPECT_FALSE(has(run(kGameA).trace, "HiScoreA-"));
}

TEST(AidedBests, AGameSlowedPartWayCountsAsSlowerAndItsRecordingHoldsTheBestItRead) {
  std::istringstream script("store HiScoreA-speed50 text 0\n" + kGameA +
                            "at 5000\nchange-setting speed 50\nat 200000\n");
  std::ostringstream trace, errors;
  std::string recording;
  ASSERT_EQ(sim::runScript(script, trace, errors, "part", [&](const Recording& r) { recording = r.text; }).status, 0)
      << errors.str();
  EXPECT_TRUE(has(trace.str(), " store read HiScoreA-speed50 0\n"));
  EXPECT_FALSE(has(trace.str(), "store read HiScoreA 0"));
  EXPECT_TRUE(has(recording, "\nstore HiScoreA-speed50 text 0\n"));
  std::ostringstream out;
  EXPECT_EQ(sim::verifyRecording(recording, out, errors, "part"), 0) << out.str();
}

TEST(AidedBests, TheFrontEndHearsWhileAnAidedBestShowsAndItsCaptionNamesTheAids) {
  struct Shown : PlayerEvents {
    std::vector<bool> seen;
    void aidedBestShown(bool shown) override { seen.push_back(shown); }
  } events;
  MemorySettings store;
  store.put(PlayerSettingsStore::storedName("speed"), true, "75");
  sim::Listeners listeners;
  listeners.player = &events;
  sim::VirtualHandheld sim({}, store, listeners);
  Handheld& h = sim.handheld;
  h.start();
  const auto& a = elementInfo(ElementId::Puls_GameA);
  h.mousePress(a.left + 2, a.top + 2, MouseButton::Left);
  EXPECT_EQ(events.seen, std::vector<bool>{true});
  EXPECT_EQ(aidedBestCaption(h.settings()), "BEST AT 75 %");
  h.mouseRelease(a.left + 2, a.top + 2, MouseButton::Left);
  EXPECT_EQ(events.seen, (std::vector<bool>{true, false}));
  h.changeSetting(Setting::Assist, 1);
  EXPECT_EQ(aidedBestCaption(h.settings()), "ASSISTED BEST AT 75 %");
  h.changeSetting(Setting::Speed, 100);
  EXPECT_EQ(aidedBestCaption(h.settings()), "ASSISTED BEST");
  // The original best shows as ever, with nothing said.
  h.changeSetting(Setting::Assist, 0);
  sim.advanceTo(600000);
  const auto& b = elementInfo(ElementId::Puls_GameB);
  h.mousePress(b.left + 2, b.top + 2, MouseButton::Left);
  h.mouseRelease(b.left + 2, b.top + 2, MouseButton::Left);
  EXPECT_EQ(events.seen.size(), 2u);
}

TEST(SoundCues, TheGrilleShowsTheSoundThatTellsTheMost) {
  sim::PlatformSetup setup;
  MemorySettings store;
  sim::VirtualHandheld sim(setup, store);
  sim.handheld.start();
  EXPECT_EQ(soundingCue(sim.channels), SoundCue::None);
  sim.channels[ChannelId::MPlayerBall].play();
  EXPECT_EQ(soundingCue(sim.channels), SoundCue::Ball);
  sim.channels[ChannelId::MPlayerHit].play();
  EXPECT_EQ(soundingCue(sim.channels), SoundCue::Hit);
  sim.channels[ChannelId::MPlayerMiss].play();
  EXPECT_EQ(soundingCue(sim.channels), SoundCue::Miss);
  sim.channels[ChannelId::MPlayerOver].play();
  EXPECT_EQ(soundingCue(sim.channels), SoundCue::GameOver);
  sim.advanceTo(10000);
  EXPECT_EQ(soundingCue(sim.channels), SoundCue::None);
  sim.channels[ChannelId::MPlayerChance].play();
  EXPECT_EQ(soundingCue(sim.channels), SoundCue::Chance);
  // Each kind its own tint; only silence draws nothing.
  for (auto a : {SoundCue::Ball, SoundCue::Hit, SoundCue::Miss, SoundCue::GameOver, SoundCue::Chance}) {
    EXPECT_GT(cueTint(a).strength, 0);
    for (auto b : {SoundCue::Ball, SoundCue::Hit, SoundCue::Miss, SoundCue::GameOver, SoundCue::Chance}) {
      const auto ta = cueTint(a), tb = cueTint(b);
      if (a != b) {
        EXPECT_FALSE(ta.red == tb.red && ta.green == tb.green && ta.blue == tb.blue);
      }
    }
  }
  EXPECT_EQ(cueTint(SoundCue::None).strength, 0);
}

}  // namespace
}  // namespace wuffel
