// The players' settings on the runner and in the store: modern keys, the
// pause and its timeline, mute, and what the store holds.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <vector>

#include "rig.h"
#include "script_run.h"

namespace wuffel {
namespace {

using E = ElementId;
using testing::lineStarting;
using testing::run;

const std::string kDefaults =
    "keys=original volume=100 muted=0 pause-on-focus-loss=0 zoom=100 remember-position=0 ghosts=0 fade=0 "
    "contrast=100 speed=100 assist=0 sound-cues=0";
// With the handheld on the screen and the keyboard, a game started at 0 whose first ball comes in lane 2 and passes the idle
// player at 9900 ms; three such misses end it.
const std::string kModernGame =
    "setting keys modern\nutc 00:00:00.014\nstart\nsplash Puls_Play\nkeydown 65\nkeyup 65\n";

bool has(const std::string& trace, const std::string& lines) { return trace.find(lines) != std::string::npos; }

TEST(Settings, TheDumpEndsWithEverySettingInOrderAndTheScriptSetsThem) {
  auto r = run("start\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(lineStarting(r.trace, "0 dump settings"), "0 dump settings " + kDefaults);
  EXPECT_EQ(r.trace.substr(r.trace.rfind("\n0 dump") + 1), "0 dump settings " + kDefaults + "\n");

  r = run("setting keys modern\nsetting volume 35\nsetting muted 1\nsetting pause-on-focus-loss 1\nsetting zoom 250\n"
          "setting remember-position 1\nsetting ghosts 20\nsetting fade 1\nsetting contrast 60\nsetting speed 60\n"
          "setting assist 1\nsetting sound-cues 1\nstore HiscoreA text 5\n"
          "start\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(lineStarting(r.trace, "0 dump settings"),
            "0 dump settings keys=modern volume=35 muted=1 pause-on-focus-loss=1 zoom=250 remember-position=1 "
            "ghosts=20 fade=1 contrast=60 speed=60 assist=1 sound-cues=1");
  // The settings keep to their group; the key's own values are listed as before.
  EXPECT_EQ(lineStarting(r.trace, "0 dump store"), "0 dump store HiscoreA=5");
}

TEST(Settings, ASettingNoneCanHoldIsAMalformedLine) {
  for (const std::string line : {"setting volume 101", "setting zoom 110", "setting keys fast", "setting loud 1",
                                 "setting contrast 59", "setting muted", "setting muted 1 2", "setting volume 5x",
                                 "setting speed 80", "setting speed 200", "setting assist 2", "setting sound-cues -1"}) {
    const auto r = run(line + "\nstart\n");
    EXPECT_EQ(r.status, 2) << line;
    EXPECT_TRUE(r.trace.empty()) << line;
  }
  EXPECT_EQ(run("start\nsetting muted 1\n").status, 2);
  EXPECT_EQ(run("start\ndeactivate AboutForm\n").status, 2);
}

TEST(Settings, StoredValuesOutOfRangeOrOfAnotherTypeReadAsTheirDefaults) {
  const auto r = run("store Settings/zoom text 110\nstore Settings/volume dword 5\nstore SETTINGS/KEYS text modern\n"
                     "store Settings/muted text  1\nstore Settings/fade text 1\nstore Settings/speed text 55\nstart\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(lineStarting(r.trace, "0 dump settings"),
            "0 dump settings keys=modern volume=100 muted=0 pause-on-focus-loss=0 zoom=100 remember-position=0 "
            "ghosts=0 fade=1 contrast=100 speed=100 assist=0 sound-cues=0");
  EXPECT_FALSE(has(r.trace, "store read Settings"));
}

// The contrasts from 40 % once offered read as the lowest offered now;
// below them a stored contrast was never valid.
TEST(Settings, AContrastOnceOfferedBelowTheLowestReadsAsTheLowest) {
  const auto contrastRead = [](const std::string& stored) {
    const auto r = run("store Settings/contrast text " + stored + "\nstart\ndump\n");
    const std::string line = lineStarting(r.trace, "0 dump settings");
    const auto at = line.find("contrast=");
    return line.substr(at, line.find(' ', at) - at);
  };
  EXPECT_EQ(contrastRead("40"), "contrast=60");
  EXPECT_EQ(contrastRead("55"), "contrast=60");
  EXPECT_EQ(contrastRead("39"), "contrast=100");
  EXPECT_EQ(contrastRead("75"), "contrast=75");
}

TEST(ModernKeys, APressActsWhileAnotherKeyIsHeldAndAutoRepeatNever) {
  const auto r = run(kModernGame +
                     "at 100\nkeydown 38\nkeydown 38\nkeydown 40\nkeydown 40\nat 200\nkeydown 32\ndump\n"
                     "keyup 38\nkeyup 40\nkeyup 32\nat 300\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  // Up to lane 1, then Down back to lane 2 while Up is held; repeats do nothing.
  EXPECT_TRUE(has(r.trace, "100 hide Puls_Up\n100 hide Im_Wuffel2\n100 hide Im_Wuffel2C\n100 show Im_Wuffel1\n"
                           "100 show Im_Wuffel1C\n100 hide Puls_Down\n100 hide Im_Wuffel1\n"));
  EXPECT_EQ(r.trace.find("show Im_Wuffel1\n", r.trace.find("100 show Im_Wuffel1\n") + 10), std::string::npos);
  // Space swings while both arrows are held.
  EXPECT_TRUE(has(r.trace, "200 hide Puls_Hit\n200 hide Im_Wuffel2C\n200 show Im_Wuffel2A\n"));
  EXPECT_NE(lineStarting(r.trace, "200 dump vars").find(" PlayerLane=2 "), std::string::npos);
  EXPECT_TRUE(has(r.trace, "200 show Puls_Up\n200 show Puls_Down\n200 show Puls_Hit\n"));

  // The original keys latch: Down while Up is held does nothing.
  const auto original = run("utc 00:00:00.014\nstart\nsplash Puls_Play\npress 569 56 left\nrelease 569 56 left\nat 100\n"
                            "keydown 38\nkeydown 40\ndump\n");
  EXPECT_NE(lineStarting(original.trace, "100 dump vars").find(" PlayerLane=1 "), std::string::npos);
}

TEST(ModernKeys, ZAndSpaceSwingLikeCtrlAndTheHitButtonStaysPressedWhileAnyHoldsIt) {
  for (const std::string key : {"17", "32", "90"}) {
    const auto r = run(kModernGame + "at 8700\nkeydown " + key + "\nkeyup " + key + "\ndump\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_TRUE(has(r.trace, "8700 hide Im_Ball21\n8700 show Im_Ball55\n")) << "the ball is hit with " << key;
    EXPECT_NE(lineStarting(r.trace, "8700 dump vars").find(" Score=2 "), std::string::npos) << key;
  }
  const auto r = run(kModernGame + "at 100\nkeydown 17\nkeydown 90\nkeyup 17\ndump\nkeyup 90\n");
  EXPECT_EQ(lineStarting(r.trace, "100 dump lit").find("Puls_Hit"), std::string::npos);
  EXPECT_TRUE(has(r.trace, "100 show Puls_Hit\n"));
}

TEST(ModernKeys, ABAndTWorkTheGameAndTimeButtons) {
  auto r = run("setting keys modern\nstore HiscoreA text 42\nstore HiscoreB text 7\nstart\nsplash Puls_Play\nkeydown 65\nkeydown 65\n"
               "dump\nkeyup 65\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(has(r.trace, "0 hide Puls_GameA\n"));
  EXPECT_EQ(lineStarting(r.trace, "0 dump digits"), "0 dump digits - - 4 2");
  EXPECT_NE(lineStarting(r.trace, "0 dump lit").find("Im_GameA"), std::string::npos);
  EXPECT_TRUE(has(r.trace, "0 show Puls_GameA\n"));
  EXPECT_TRUE(has(r.trace, "0 timer TimerGioco 220 on\n"));

  r = run("setting keys modern\nstore HiscoreB text 7\nstart\nsplash Puls_Play\nkeydown 66\ndump\nkeyup 66\nwait 220\ndump\n");
  EXPECT_EQ(lineStarting(r.trace, "0 dump digits"), "0 dump digits - - - 7");
  EXPECT_NE(lineStarting(r.trace, "220 dump vars").find("GameMode=2 "), std::string::npos);

  r = run("setting keys modern\nlocal 13:07\nstart\nsplash Puls_Play\nkeydown 84\ndump\nkeyup 84\nwait 1\ndump\n");
  EXPECT_TRUE(has(r.trace, "0 hide Puls_Time\n"));
  EXPECT_EQ(lineStarting(r.trace, "0 dump digits"), "0 dump digits 1 2 0 0");
  EXPECT_EQ(lineStarting(r.trace, "1 dump digits"), "1 dump digits - 1 0 7");

  // With the original keys these letters are nothing to the game.
  r = run("start\nsplash Puls_Play\nkeydown 65\nkeyup 65\nkeydown 84\nkeyup 84\nkeydown 77\ndump\n");
  EXPECT_FALSE(has(r.trace, "hide Puls_GameA") || has(r.trace, "hide Puls_Time"));
  EXPECT_EQ(lineStarting(r.trace, "0 dump settings"), "0 dump settings " + kDefaults);
}

TEST(ModernKeys, MMutesAndUnmutesAndTheMouseWorksHitUpAndDown) {
  auto r = run("setting keys modern\nstart\nsplash Puls_Play\nkeydown 77\nkeydown 77\nkeyup 77\ndump\nkeydown 77\nkeyup 77\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_NE(lineStarting(r.trace, "0 dump settings").find(" muted=1 "), std::string::npos) << "once for a held M";
  EXPECT_NE(r.trace.substr(r.trace.rfind("dump settings")).find(" muted=0 "), std::string::npos);

  const std::string clicks = "at 100\npress 570 240 left\ndump\nrelease 570 240 left\nat 8700\npress 60 270 left\n"
                             "release 60 270 left\ndump\n";
  r = run(kModernGame + clicks);
  EXPECT_TRUE(has(r.trace, "100 hide Puls_Up\n100 hide Im_Wuffel2\n"));
  EXPECT_NE(lineStarting(r.trace, "100 dump vars").find(" PlayerLane=1 "), std::string::npos);
  EXPECT_TRUE(has(r.trace, "100 show Puls_Up\n"));
  EXPECT_TRUE(has(r.trace, "8700 hide Puls_Hit\n8700 hide Im_Wuffel1C\n8700 show Im_Wuffel1A\n"));

  // The original buttons answer no mouse.
  r = run("utc 00:00:00.014\nstart\npress 569 56 left\nrelease 569 56 left\n" + clicks);
  EXPECT_FALSE(has(r.trace, "hide Puls_Up") || has(r.trace, "hide Puls_Hit"));
}

// The script's events at their times, and the same with pauses: from each
// time in `pauses`, P held for a day. The UTC time of day wraps at midnight,
// so every random draw after a pause sees the seed it saw without one.
constexpr std::int64_t kDay = kMillisecondsPerDay;

std::string timed(const std::vector<std::pair<std::int64_t, std::string>>& events,
                  const std::vector<std::int64_t>& pauses) {
  std::string script = kModernGame;
  std::int64_t shift = 0;
  std::size_t next = 0;
  for (const auto& [time, command] : events) {
    while (next < pauses.size() && pauses[next] <= time) {
      script += "at " + std::to_string(pauses[next] + shift) + "\nkeydown 80\nkeyup 80\ndump\n";
      shift += kDay;
      script += "at " + std::to_string(pauses[next] + shift) + "\nkeydown 80\nkeyup 80\n";
      ++next;
    }
    script += "at " + std::to_string(time + shift) + "\n" + command + "\n";
  }
  return script;
}

// The trace with the pauses taken out: what came after each resume moved
// back by the pause's length.
std::string withoutPauses(const std::string& trace) {
  std::istringstream in(trace);
  std::string out;
  std::int64_t shift = 0;
  bool paused = false;
  for (std::string line; std::getline(in, line);) {
    const auto space = line.find(' ');
    const std::int64_t time = std::stoll(line.substr(0, space));
    const std::string what = line.substr(space + 1);
    if (what == "pause") paused = true;
    if (what == "resume") {
      paused = false;
      shift += kDay;
    }
    if (paused || what == "resume") continue;
    out += std::to_string(time - shift) + " " + what + "\n";
  }
  return out;
}

TEST(Pause, EveryTimerAndSoundGoesOnWithTheTimeItHadLeftSoTheGameIsOnlyShifted) {
  // A hit, a lane change, a swing the chance sequence will not see, the
  // misses with their sounds cut at their times, and the game over.
  const std::vector<std::pair<std::int64_t, std::string>> events{
      {8700, "keydown 17"}, {8800, "keyup 17"}, {9000, "dump"},   {12000, "keydown 40"}, {12050, "keyup 40"},
      {20000, "dump"},      {60000, "dump"},    {61000, "dump"},
  };
  const auto plain = run(timed(events, {}));
  ASSERT_EQ(plain.status, 0) << plain.errors;
  ASSERT_TRUE(has(plain.trace, "sound MPlayerMiss play") && has(plain.trace, "sound MPlayerOver play"));
  // In the first-ball period, between a swing's frames, in a miss with its
  // sound playing, in the game over.
  const auto paused = run(timed(events, {1000, 9150, 10500, 11100, 40000}));
  ASSERT_EQ(paused.status, 0) << paused.errors;
  std::size_t pauses = 0;
  for (auto at = paused.trace.find(" pause\n"); at != std::string::npos; at = paused.trace.find(" pause\n", at + 1))
    ++pauses;
  EXPECT_EQ(pauses, 5u);
  EXPECT_EQ(withoutPauses(paused.trace), plain.trace);
}

TEST(Pause, WhilePausedNoTimerRunsGameKeysAreIgnoredAndMStillMutes) {
  const auto r = run(kModernGame + "at 10500\nkeydown 80\ndump\nwait 5000\nkeydown 38\nkeydown 17\nkeydown 77\n"
                                   "keydown 65\nkeyup 65\ndump\nkeyup 80\nkeydown 80\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(has(r.trace, "10500 pause\n10500 dump"));
  const std::string during = r.trace.substr(r.trace.find("10500 pause\n"));
  // Nothing but the dumps until P is pressed again.
  std::istringstream lines(during);
  for (std::string line; std::getline(lines, line);)
    if (line.find(" dump ") == std::string::npos && line != "10500 pause" && line != "15500 resume")
      ADD_FAILURE() << "while paused: " << line;
  EXPECT_EQ(lineStarting(r.trace, "10500 dump timers").substr(5),
            lineStarting(r.trace, "15500 dump timers").substr(5));
  // The miss sound holds where it was.
  const std::string sound = lineStarting(r.trace, "10500 dump sound");
  EXPECT_NE(sound.find("MPlayerMiss=silent/"), std::string::npos);
  EXPECT_EQ(sound.substr(5), lineStarting(r.trace, "15500 dump sound").substr(5));
  EXPECT_NE(lineStarting(r.trace, "15500 dump settings").find(" muted=1 "), std::string::npos);
  EXPECT_TRUE(has(r.trace, "15500 resume\n"));
}

TEST(Pause, OnlyAGameCanBePaused) {
  const auto r = run("setting keys modern\nsetting pause-on-focus-loss 1\nstart\nsplash Puls_Play\nkeydown 80\nkeyup 80\n"
                     "deactivate Form1\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_FALSE(has(r.trace, " pause\n"));
}

TEST(Pause, LosingTheFocusPausesWhenAskedAndAClickOnTheFaceOrPResumes) {
  const std::string game = "setting pause-on-focus-loss 1\nutc 00:00:00.014\nstart\nsplash Puls_Play\n"
                           "press 569 56 left\nrelease 569 56 left\n";
  // The click resumes and does nothing else: no drag, no button pressed.
  auto r = run(game + "at 3000\ndeactivate Form1\nat 4000\npress 569 56 left\nmove 500 20 left\nrelease 500 20 left\n"
                      "dump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(has(r.trace, "3000 pause\n4000 resume\n4000 dump lit"));
  EXPECT_NE(lineStarting(r.trace, "4000 dump timers").find("TimerGioco=220/on"), std::string::npos);

  // A right click while paused leaves it paused but opens the menu.
  r = run(game + "at 3000\ndeactivate Form1\nat 4000\npress 612 120 right\nrelease 612 120 right\n"
                 "keydown 38\nkeydown 80\nkeyup 80\n");
  EXPECT_TRUE(has(r.trace, "3000 pause\n4000 popup 612 120\n4000 resume\n"));

  // Without the setting the focus comes and goes and the game plays on.
  r = run("utc 00:00:00.014\nstart\npress 569 56 left\nrelease 569 56 left\nat 3000\ndeactivate Form1\nat 3100\n"
          "keydown 80\nactivate Form1\nkeydown 80\n");
  EXPECT_FALSE(has(r.trace, " pause\n"));
  EXPECT_TRUE(has(r.trace, "3080 tick TimerGioco\n"));
}

// The front end's side, as the window program sees it.
struct Recorder : PlayerEvents {
  void pauseChanged(bool paused) override { log.push_back(paused ? "pause" : "resume"); }
  void settingChanged(Setting s, int, bool saved) override {
    log.push_back(std::string(settingInfo(s).name) + (saved ? " saved" : " kept"));
  }
  void settingsRequested() override { log.push_back("dialog"); }
  std::vector<std::string> log;
};

struct StoredSettings : ::testing::Test {
  // A new run of the program on the same store.
  Handheld& make() {
    rig.reset();
    rig = std::make_unique<testing::Rig>(0, &store, &events);
    return rig->handheld;
  }
  MemorySettings store;
  Recorder events;
  std::unique_ptr<testing::Rig> rig;
};

TEST_F(StoredSettings, AChangeIsStoredAtOnceInItsGroupAndARefusalKeepsItForTheRun) {
  store.put("HiScoreA", true, "120");
  Handheld& h = make();
  h.start();
  EXPECT_TRUE(h.changeSetting(Setting::Zoom, 200));
  EXPECT_TRUE(h.changeSetting(Setting::Keys, static_cast<int>(KeyMode::Modern)));
  EXPECT_FALSE(h.changeSetting(Setting::Zoom, 175));
  EXPECT_EQ(h.settings().zoom(), 200);
  h.keyDown(VirtualKey::M);
  h.keyUp(VirtualKey::M);
  ASSERT_EQ(store.values().size(), 4u);
  EXPECT_EQ(store.values()[0].name + "=" + store.values()[0].text, "HiScoreA=120");
  EXPECT_EQ(store.values()[1].name + "=" + store.values()[1].text, "Settings/zoom=200");
  EXPECT_EQ(store.values()[2].name + "=" + store.values()[2].text, "Settings/keys=modern");
  EXPECT_EQ(store.values()[3].name + "=" + store.values()[3].text, "Settings/muted=1");

  store.refusesWrites = true;
  EXPECT_FALSE(h.changeSetting(Setting::Volume, 40));
  EXPECT_EQ(h.settings().volume(), 40);
  EXPECT_EQ(events.log, (std::vector<std::string>{"zoom saved", "keys saved", "muted saved", "volume kept"}));

  // A new run reads what was stored; the refused volume is its default again.
  const PlayerSettings& read = make().settings();
  EXPECT_EQ(read.zoom(), 200);
  EXPECT_TRUE(read.muted());
  EXPECT_EQ(read.volume(), 100);
}

TEST_F(StoredSettings, RestoringTheDefaultsStoresEachAndF5AsksForTheDialog) {
  store.put("Settings/keys", true, "modern");
  store.put("Settings/pause-on-focus-loss", true, "1");
  Handheld& h = make();
  h.start();
  h.keyDown(VirtualKey::F5);
  EXPECT_EQ(events.log, std::vector<std::string>{"dialog"});
  EXPECT_TRUE(h.restoreDefaultSettings());
  EXPECT_EQ(h.settings(), PlayerSettings());
  EXPECT_EQ(events.log.size(), 1 + kSettings.size());
  const PlayerSettings& read = make().settings();
  EXPECT_FALSE(read.modernKeys());
  EXPECT_FALSE(read.pauseOnFocusLoss());
}

TEST(SettingValues, ZoomStepsAndTheGainTheOutputMixesAt) {
  EXPECT_EQ(nextZoom(100, +1), 125);
  EXPECT_EQ(nextZoom(400, +1), 400);
  EXPECT_EQ(nextZoom(100, -1), 100);
  EXPECT_EQ(nextZoom(250, -1), 200);
  EXPECT_EQ(nextZoom(175, +1), 200);
  PlayerSettings s;
  EXPECT_EQ(s.outputGain(), 1.0);
  s.set(Setting::Volume, 50);
  EXPECT_EQ(s.outputGain(), 0.25);
  s.set(Setting::Muted, 1);
  EXPECT_EQ(s.outputGain(), 0.0);
  EXPECT_EQ(parseSettingValue(Setting::Volume, "+5"), std::nullopt);
  EXPECT_EQ(parseSettingValue(Setting::Volume, " 5"), std::nullopt);
  EXPECT_EQ(parseSettingValue(Setting::Volume, "0"), 0);
}

}  // namespace
}  // namespace wuffel
