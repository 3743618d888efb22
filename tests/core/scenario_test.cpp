#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <streambuf>

#include "script_run.h"
#include "sim/script.h"

namespace wuffel {
namespace {

using namespace std::string_literals;
using testing::lineStarting;
using testing::run;

TEST(Scenario, StartShowsTheLitFaceOffTheScreenWithTheSplashInFront) {
  const auto r = run("start\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(lineStarting(r.trace, "0 dump digits"), "0 dump digits 1 2 0 0");
  EXPECT_EQ(lineStarting(r.trace, "0 dump windows"),
            "0 dump windows Form1=-700,-500,shown SplashForm=831,386,shown AboutForm=0,0,hidden");
  EXPECT_NE(lineStarting(r.trace, "0 dump vars").find("GameMode=3 "), std::string::npos);
  EXPECT_NE(r.trace.find("0 window SplashForm show\n0 window Form1 show\n0 window SplashForm front\n"),
            std::string::npos);
  const std::string lit = lineStarting(r.trace, "0 dump lit");
  EXPECT_EQ(lit.find("Im_TimePM"), std::string::npos);
  EXPECT_EQ(lit.find("Im_Num0"), std::string::npos);
  EXPECT_NE(lit.find("Im_TimeAM Im_NumPos1"), std::string::npos);
  EXPECT_NE(lit.find("Im_Ball35 Im_BaseTop"), std::string::npos);
  EXPECT_NE(lineStarting(r.trace, "0 dump sound").find("MPlayerChance=silent/0/"), std::string::npos);
}

TEST(Scenario, PlayCentresTheWindowAndADragMovesItByTheMouse) {
  const auto r = run("screen 1000 800\nstart\nsplash Puls_Play\npress 300 200 left\nmove 305 190 left\n"
                     "release 305 190 left\nsplash La_Http\ndump\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.trace.find("0 window Form1 at 173 203\n0 window SplashForm hide\n"), std::string::npos);
  EXPECT_NE(r.trace.find("0 window Form1 at 173 193\n0 window Form1 at 178 193\n"), std::string::npos);
  EXPECT_NE(r.trace.find("0 open https://"), std::string::npos);
  EXPECT_NE(lineStarting(r.trace, "0 dump windows").find("Form1=178,193,shown SplashForm=371,246,hidden"),
            std::string::npos);
}

TEST(Scenario, AMissingSoundEndsCreationWithOneErrorBox) {
  const auto r = run("sound-missing BACK.WAV\nstart\ndump\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.trace.find("0 sound MPlayerBack open\n0 error Cannot open sound file SOUND/BACK.WAV"),
            std::string::npos);
  EXPECT_EQ(r.trace.find("MPlayerBall open"), std::string::npos);
  EXPECT_NE(lineStarting(r.trace, "0 dump vars").find("GameMode=0 "), std::string::npos);
  EXPECT_EQ(lineStarting(r.trace, "0 dump digits"), "0 dump digits - - - -");
  EXPECT_EQ(lineStarting(r.trace, "0 dump lit").find("Im_Miss0"), std::string::npos);
  EXPECT_NE(lineStarting(r.trace, "0 dump sound").find("MPlayerBack=closed"), std::string::npos);
}

TEST(Scenario, ASecondActivationDoesNothingAndTicksComeInOrder) {
  const auto r = run("utc 00:00:00.014\nstart\nactivate Form1\npress 560 50 left\nrelease 560 50 left\n"
                     "at 660\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.trace.find("front", r.trace.find("front") + 1), std::string::npos);
  EXPECT_NE(r.trace.find("220 tick TimerGioco\n440 tick TimerGioco\n660 tick TimerGioco\n660 hide Im_Tobbel3\n"
                         "660 show Im_Ball27\n660 sound MPlayerBall play\n"),
            std::string::npos);
}

TEST(Scenario, MalformedLinesAreReportedWithTheirNumberAndPrintNothing) {
  for (const std::string script : {"start\ndump\nfly 3\n", "start\nutc 10:00:00.000\n", "at 5\n",
                                   "start\npress 1 2 thumb\n", "start\nat -4\n", "utc 25:00:00.000\nstart\n"}) {
    const auto r = run(script);
    EXPECT_EQ(r.status, 2) << script;
    EXPECT_TRUE(r.trace.empty()) << script;
    EXPECT_NE(r.errors.find("line "), std::string::npos) << script;
  }
  EXPECT_NE(run("start\ndump\nfly 3\n").errors.find("line 3"), std::string::npos);
}

TEST(Scenario, AMalformedWordIsQuotedCutShortWithWhatCannotBeSeenWrittenOut) {
  EXPECT_EQ(run(std::string("start\n\xEF\xBB\xBF" "dump\n")).errors, "line 2: unknown command '\\uFEFFdump'\n");
  EXPECT_EQ(run("start\nat 1\0" "2\n"s).errors, "line 2: expected: at MS, not '1\\02'\n");
  EXPECT_EQ(run("start\nkeydown \x1B[2J\x7F\\\n").errors, "line 2: expected: keydown VK, not '\\x1B[2J\\x7F\\\\'\n");
  EXPECT_EQ(run("utc \xC2\x85\xFF\xE2\x80\x8Bh\xC3\xA9\nstart\n").errors,
            "line 1: expected: utc HH:MM:SS.mmm, not '\\u0085\\xFF\\u200Bh\xC3\xA9'\n");
  // Eighty characters, each of two bytes, and the rest left out.
  std::string longWord;
  for (int i = 0; i < 200; ++i) longWord += "\xC3\xA9";
  const auto r = run("start\nfly" + longWord + "\n");
  EXPECT_EQ(r.errors, "line 2: unknown command 'fly" + longWord.substr(0, 2 * 77) + "'...\n");
}

TEST(Scenario, ALineOverOneMebibyteIsRefusedWithoutQuotingIt) {
  const std::string mebibyte(1 << 20, 'x');
  auto r = run("start\ndump\n" + mebibyte + "y\ndump\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.errors, "line 3: the line is longer than 1 MiB, refused\n");
  EXPECT_TRUE(r.trace.empty());
  const std::string refuse = "store-refuses-writes";
  r = run("start\n" + refuse + std::string(mebibyte.size() - refuse.size(), ' ') + "\n");
  EXPECT_EQ(r.errors, "line 2: 'store-refuses-writes' must come before 'start'\n") << "a line of 1 MiB is read";
  r = run("store x text " + mebibyte.substr(13) + "\nstart\ndump\n");
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_NE(lineStarting(r.trace, "0 dump store").find("x=" + mebibyte.substr(13)), std::string::npos);
}

// After a game over only the sleeping figure's ticks come; a script may
// ask for at most a week of them.
TEST(Scenario, TimeBeyondAWeekIsRefusedBeforeAnythingRuns) {
  const std::string refusal = "' goes past a week of virtual time (604800000 ms), the longest a script runs\n";
  std::string fiveWaits = "start\nsplash Puls_Play\npress 569 56 left\nrelease 569 56 left\n";
  for (int i = 0; i < 5; ++i) fiveWaits += "wait 2147483647\n";
  auto r = run(fiveWaits);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.errors, "line 5: 'wait 2147483647" + refusal);
  EXPECT_TRUE(r.trace.empty());
  r = run("start\nwait 302400000\nat 600000000\nwait 4800000\ndump\nat 5\n");
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_NE(r.trace.find("604800000 dump vars"), std::string::npos);
  r = run("start\nat 604800000\nwait 1\n");
  EXPECT_EQ(r.errors, "line 3: 'wait 1" + refusal);
  EXPECT_EQ(run("start\nat 604800001\n").status, 2);
}

// A failed read is not the end of the script.
TEST(Scenario, AReadThatFailsIsReportedWithItsLineAndRunsNothing) {
  class FailingAfterTwoLines : public std::streambuf {
    std::string lines_ = "start\ndump\n";
    int_type underflow() override {
      if (gptr() == nullptr) {
        setg(lines_.data(), lines_.data(), lines_.data() + lines_.size());
        return traits_type::to_int_type(*gptr());
      }
      throw std::runtime_error("the device failed to read it");
    }
  } failing;
  std::istream in(&failing);
  std::ostringstream trace, errors;
  EXPECT_EQ(sim::runScript(in, trace, errors, "'game.txt'"), 2);
  EXPECT_EQ(errors.str(), "wuffel-scenario: cannot read 'game.txt' at line 3: the device failed to read it\n");
  EXPECT_TRUE(trace.str().empty());
}

TEST(Scenario, ClosingTheMainWindowClosesTheChannelsAndEnds) {
  const auto r = run("start\nclose Form1\ndump\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.trace.find("0 sound MPlayerChance close\n0 exit\n"), std::string::npos);
  EXPECT_EQ(r.trace.find("dump"), std::string::npos);
}

TEST(Scenario, TheStoreIsReadAtStartAndANonTextValueEndsCreationBeforeTheSound) {
  auto r = run("store context text x\nstore HISCOREA text  0x1F\nstore hiscoreb text 12ab\nstart\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_NE(r.trace.find("0 store read HiscoreA 31\n0 store read HiscoreB 0\n0 sound MPlayerBack open\n"),
            std::string::npos);
  EXPECT_EQ(lineStarting(r.trace, "0 dump store"), "0 dump store context=x HISCOREA= 0x1F hiscoreb=12ab");

  r = run("store HiscoreA dword 7\nstart\ndump\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.trace.find("0 error Invalid data type for 'HiscoreA'\n"), std::string::npos);
  EXPECT_EQ(r.trace.find("store read"), std::string::npos);
  EXPECT_EQ(r.trace.find("sound MPlayerBack open"), std::string::npos);
  EXPECT_EQ(lineStarting(r.trace, "0 dump digits"), "0 dump digits - - - -");
}

TEST(Scenario, AGameOverWritesABeatenBestUnderItsOwnCasingAndARefusalIsShown) {
  // Three balls pass the idle player; each restart costs 5200 ms.
  const std::string play = "utc 10:00:00.014\nstart\npress 569 56 left\nrelease 569 56 left\nat 60000\ndump\n";
  auto r = run("store HISCOREA text -1\n" + play);
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.trace.find(" store write HiScoreA 0\n"), std::string::npos);
  EXPECT_EQ(lineStarting(r.trace, "60000 dump store"), "60000 dump store HISCOREA=0");

  r = run("store-refuses-writes\nstore HiscoreA text -1\n" + play);
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.trace.find(" error Failed to set data for 'HiScoreA'\n"), std::string::npos);
  EXPECT_EQ(r.trace.find("store write"), std::string::npos);
  EXPECT_NE(lineStarting(r.trace, "60000 dump vars").find(" HiScoreA=0 "), std::string::npos);
}

TEST(Scenario, TheMenuOpensTheDocumentsResetsWithABeepAndExitEndsTheScript) {
  const auto r = run("store HiscoreA text 250\nstart\nmenu PM_3Readme\nmenu PM_4Whatsnew\nmenu PM_6Instruct\n"
                     "wait 5\nmenu PM_8HiScore\nmenu PM_1About\nmenu PM_10Exit\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_NE(r.trace.find("0 open .\\readme.txt\n0 open .\\whatsnew.txt\n0 open .\\Manual.EXE\n"),
            std::string::npos);
  EXPECT_NE(r.trace.find("5 store write HiScoreA 0\n5 store write HiScoreB 0\n5 beep\n"
                         "5 window AboutForm show\n5 window AboutForm front\n5 sound MPlayerBack close\n"),
            std::string::npos);
  EXPECT_NE(r.trace.find("5 sound MPlayerChance close\n5 exit\n"), std::string::npos);
  EXPECT_EQ(r.trace.find("dump"), std::string::npos);
}

TEST(Scenario, ShortcutKeysActOnlyWhileTheHandheldWindowHasTheKeyboard) {
  const auto r = run("start\nkeydown 112\nkeydown 113\nkeydown 27\nsplash Puls_Play\nat 10\nkeydown 112\n"
                     "keydown 113\nkeydown 27\nclose AboutForm\nat 20\nkeydown 113\nkeydown 112\n"
                     "press 300 100 left\nrelease 300 100 left\nkeyup 112\nat 30\nkeydown 27\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  // The splash window has the keyboard after start, the about dialog once F1 showed it.
  EXPECT_EQ(r.trace.find("\n0 window AboutForm"), std::string::npos);
  EXPECT_NE(r.trace.find("10 window AboutForm show\n10 window AboutForm front\n10 window AboutForm hide\n"
                         "20 open .\\readme.txt\n20 window AboutForm show\n20 window AboutForm front\n"
                         "30 sound MPlayerBack close\n"),
            std::string::npos);
  EXPECT_NE(r.trace.find("30 exit\n"), std::string::npos);
}

TEST(Scenario, ARightClickOnTimePopsTheMenuUpAfterTheReleaseShowsTheLocalTime) {
  const auto r = run("local 23:59\nstart\npress 560 140 right\nrelease 560 140 right\nat 1\ndump\n"
                     "at 60001\ndump\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_NE(r.trace.find("0 hide Im_Pippet1\n0 timer TimerClock 1 off\n0 timer TimerClock 1 on\n0 popup 560 140\n"),
            std::string::npos);
  EXPECT_NE(r.trace.find("1 dump digits 1 1 5 9"), std::string::npos);
  EXPECT_NE(r.trace.find("60001 dump digits 1 2 0 0"), std::string::npos);  // midnight: 12:00 AM
  EXPECT_NE(lineStarting(r.trace, "60001 dump lit").find("Im_TimeAM Im_NumPos1"), std::string::npos);
  EXPECT_NE(lineStarting(r.trace, "1 dump lit").find("Puls_Time"), std::string::npos) << "no pressed look";
}

TEST(Script, EachLineIsReadOnceIntoASettingOrACommand) {
  std::istringstream in("utc 10:00:00.014\nstore HiscoreA text  two words \nsound-length MPlayerHit 5\nstart\n"
                        "keydown 17 # Ctrl\nmove 3 4 left+right\nmenu PM_8HiScore\n");
  const auto read = sim::readScript(in);
  ASSERT_TRUE(std::holds_alternative<sim::Script>(read));
  const auto& script = std::get<sim::Script>(read);
  EXPECT_EQ(script.setup.platform.utcAtZero, 10 * 3600000 + 14);
  ASSERT_EQ(script.setup.store.size(), 1u);
  EXPECT_EQ(script.setup.store[0].text, " two words ");
  EXPECT_EQ(script.setup.platform.soundLengths.at("HIT.WAV"), 5);
  ASSERT_EQ(script.events.size(), 4u);
  EXPECT_TRUE(std::holds_alternative<sim::command::Start>(script.events[0]));
  EXPECT_EQ(std::get<sim::command::KeyDown>(script.events[1]).key, VirtualKey::Ctrl);
  const auto& move = std::get<sim::command::Move>(script.events[2]);
  EXPECT_TRUE(move.held.left && move.held.right && !move.held.middle);
  EXPECT_EQ(std::get<sim::command::Menu>(script.events[3]).item, MenuCommand::PM_8HiScore);
}

TEST(Scenario, MalformedMenuAndLocalLinesAreRefused) {
  for (const std::string script : {"start\nmenu PM_2N1\n", "start\nmenu\n", "start\nmenu PM_1About x\n",
                                   "local 24:00\nstart\n", "local 7:05\nstart\n", "local 12:60\nstart\n",
                                   "start\nlocal 10:00\n", "menu PM_1About\nstart\n"}) {
    const auto r = run(script);
    EXPECT_EQ(r.status, 2) << script;
    EXPECT_TRUE(r.trace.empty()) << script;
  }
}

}  // namespace
}  // namespace wuffel
