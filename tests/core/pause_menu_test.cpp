// The pauses the player asks for through the menu: the settings dialog,
// which holds a running game while it is open, and the menu's own item.
#include <gtest/gtest.h>

#include "rig.h"
#include "script_run.h"

namespace wuffel {
namespace {

using testing::lineStarting;
using testing::run;

bool has(const std::string& trace, const std::string& lines) { return trace.find(lines) != std::string::npos; }

// With the original keys, a game started at 0 whose first ball comes in lane
// 2 and passes the idle player at 9900 ms.
const std::string kGame = "utc 00:00:00.014\nstart\nsplash Puls_Play\npress 569 56 left\nrelease 569 56 left\n";
const std::string kModernGame = "setting keys modern\n" + kGame;

// The trace from `from` ms on, without the time on each line.
std::string eventsFrom(const std::string& trace, std::int64_t from) {
  std::istringstream in(trace);
  std::string out;
  for (std::string line; std::getline(in, line);)
    if (std::stoll(line.substr(0, line.find(' '))) >= from) out += line.substr(line.find(' ') + 1) + "\n";
  return out;
}

TEST(SettingsPause, OpeningTheSettingsHoldsARunningGameAndClosingThemGoesOnWhereItStood) {
  for (const std::string open : {"menu PM_Settings", "keydown 116"}) {
    const auto r = run(kGame + "at 3000\n" + open + "\ndump\nat 63000\ndump\nclose SettingsForm\nat 64000\ndump\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_TRUE(has(r.trace, "3000 pause\n3000 dump lit")) << open;
    // A minute in the settings changes nothing but the time.
    EXPECT_EQ(lineStarting(r.trace, "3000 dump vars").substr(5), lineStarting(r.trace, "63000 dump vars").substr(6));
    EXPECT_EQ(lineStarting(r.trace, "3000 dump timers").substr(5),
              lineStarting(r.trace, "63000 dump timers").substr(6));
    EXPECT_TRUE(has(r.trace, "63000 resume\n63080 tick TimerGioco\n")) << open;
  }
  // Without a game there is nothing to hold: the trace is as before.
  const auto idle = run("start\nsplash Puls_Play\nat 1000\nmenu PM_Settings\nat 2000\nclose SettingsForm\nat 5000\n");
  const auto plain = run("start\nsplash Puls_Play\nat 5000\n");
  EXPECT_EQ(idle.trace, plain.trace);
}

TEST(SettingsPause, APauseThePlayerMadeOrTookOverStaysWhenTheSettingsClose) {
  // Paused with P before the settings opened.
  auto r = run(kModernGame + "at 3000\nkeydown 80\nkeyup 80\nmenu PM_Settings\nat 4000\nclose SettingsForm\nat 9000\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(eventsFrom(r.trace, 3000), "pause\n");
  // Paused by the lost focus.
  r = run("setting pause-on-focus-loss 1\n" + kGame +
          "at 3000\ndeactivate Form1\nmenu PM_Settings\nclose SettingsForm\nat 9000\n");
  EXPECT_EQ(eventsFrom(r.trace, 3000), "pause\n");
  // Resumed by a click on the face while the settings are open, then paused with P.
  r = run(kModernGame +
          "at 3000\nmenu PM_Settings\nat 4000\npress 300 30 left\nrelease 300 30 left\nat 4100\nkeydown 80\n"
          "keyup 80\nat 5000\nclose SettingsForm\nat 9000\n");
  EXPECT_TRUE(has(r.trace, "3000 pause\n4000 resume\n"));
  EXPECT_TRUE(has(r.trace, "4100 pause\n"));
  EXPECT_FALSE(has(r.trace, "5000 resume"));
  EXPECT_TRUE(eventsFrom(r.trace, 4101).empty());
  // Opened twice and closed once: the game goes on.
  r = run(kGame + "at 3000\nmenu PM_Settings\nkeydown 116\nclose SettingsForm\n");
  EXPECT_TRUE(has(r.trace, "3000 pause\n3000 resume\n"));
}

TEST(PauseItem, PausesAndResumesAGameWithEitherKeysAndShowsWhatItWouldDo) {
  for (const std::string& game : {kGame, kModernGame}) {
    const auto r = run(game + "at 3000\nmenu PM_Pause\nat 8000\nmenu PM_Pause\nat 8080\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_TRUE(has(r.trace, "3000 pause\n8000 resume\n8080 tick TimerGioco\n"));
    EXPECT_EQ(eventsFrom(r.trace, 3001).substr(0, 7), "resume\n");
  }
  // Between games it does nothing.
  EXPECT_EQ(run("start\nsplash Puls_Play\nmenu PM_Pause\n").trace, run("start\nsplash Puls_Play\n").trace);

  testing::Rig rig(testing::kFirstThrowInLane2);
  Handheld& h = rig.handheld;
  const MenuItem& item = *std::find_if(kCommandMenu.begin(), kCommandMenu.end(),
                                       [](const MenuItem& i) { return i.command == MenuCommand::PM_Pause; });
  h.start();
  h.splashPlay();
  EXPECT_FALSE(h.menuItemState(item).enabled) << "no game to pause";
  rig.click(ElementId::Puls_GameA);
  EXPECT_TRUE(h.menuItemState(item).enabled);
  EXPECT_EQ(h.menuItemState(item).caption, "Pause");
  EXPECT_EQ(h.menuItemState(item).shortcutText, "") << "P pauses only with modern keys";
  h.chooseMenuItem(MenuCommand::PM_Pause);
  EXPECT_EQ(h.menuItemState(item).caption, "Resume");
  EXPECT_TRUE(h.menuItemState(item).enabled);
  h.changeSetting(Setting::Keys, static_cast<int>(KeyMode::Modern));
  EXPECT_EQ(h.menuItemState(item).shortcutText, "P");
  // Every other item reads as the table says.
  for (const auto& other : kCommandMenu) {
    if (other.command == MenuCommand::PM_Pause) continue;
    EXPECT_EQ(h.menuItemState(other).caption, other.caption);
    EXPECT_EQ(h.menuItemState(other).shortcutText, other.shortcutText);
    EXPECT_TRUE(h.menuItemState(other).enabled);
  }
}

TEST(PauseItem, TheRunnerNamesTheNewWordsInItsMessages) {
  auto r = run("start\nclose Settings\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.errors, "line 2: expected: close AboutForm|SettingsForm|Form1, not 'Settings'\n");
  r = run("start\nmenu PM_Bogus\n");
  EXPECT_EQ(r.errors,
            "line 2: expected: menu PM_1About|PM_3Readme|PM_4Whatsnew|PM_6Instruct|PM_8HiScore|PM_Settings|PM_Pause|"
            "PM_10Exit, not 'PM_Bogus'\n");
}

}  // namespace
}  // namespace wuffel
