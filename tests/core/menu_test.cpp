#include <gtest/gtest.h>

#include "rig.h"

namespace wuffel {
namespace {

using E = ElementId;
using testing::Rig;

struct Menu : ::testing::Test {
  Menu() {
    rig.settings.put("HiScoreA", true, "120");
    rig.settings.put("HiScoreB", true, "340");
    h.start();
    h.splashPlay();
  }
  std::string stored(const std::string& name) const {
    for (const auto& v : rig.settings.values())
      if (v.name == name) return v.text;
    return "(none)";
  }
  Rig rig;
  Handheld& h = rig.handheld;
  HandheldTestAccess& inside = rig.inside;
};

TEST(MenuCommands, EachDoesTheSameFromTheMenuAndFromItsShortcutKey) {
  for (const bool byKey : {false, true}) {
    Rig rig;
    rig.handheld.start();
    auto choose = [&](MenuCommand command, VirtualKey key) {
      if (byKey)
        rig.handheld.keyDown(key);
      else
        rig.handheld.chooseMenuItem(command);
    };
    choose(MenuCommand::PM_3Readme, VirtualKey::F2);
    choose(MenuCommand::PM_4Whatsnew, VirtualKey::F3);
    choose(MenuCommand::PM_6Instruct, VirtualKey::F4);
    EXPECT_EQ(rig.opened(), (std::vector<std::string>{".\\readme.txt", ".\\whatsnew.txt", ".\\Manual.EXE"}));
    rig.windows().broughtToFront.clear();
    choose(MenuCommand::PM_1About, VirtualKey::F1);
    EXPECT_TRUE(rig.windows().isShown(WindowId::AboutForm));
    EXPECT_EQ(rig.windows().broughtToFront, std::vector<WindowId>{WindowId::AboutForm});
    EXPECT_EQ(rig.quits(), 0);
    choose(MenuCommand::PM_10Exit, VirtualKey::Escape);
    EXPECT_EQ(rig.quits(), 1) << byKey;
    EXPECT_TRUE(rig.errors().empty());
  }
}

// Where the about dialog stands is the user's: the handheld shows it and
// brings it to the front each time it is chosen, and never places it.
TEST_F(Menu, AboutIsBroughtToTheFrontEachTimeAndNeverMoved) {
  rig.windows().broughtToFront.clear();
  h.chooseMenuItem(MenuCommand::PM_1About);
  h.chooseMenuItem(MenuCommand::PM_1About);
  EXPECT_TRUE(rig.windows().isShown(WindowId::AboutForm));
  h.closeAboutForm();
  EXPECT_FALSE(rig.windows().isShown(WindowId::AboutForm));
  h.chooseMenuItem(MenuCommand::PM_1About);
  EXPECT_TRUE(rig.windows().isShown(WindowId::AboutForm));
  EXPECT_EQ(rig.windows().broughtToFront, std::vector<WindowId>(3, WindowId::AboutForm));
  for (const auto& move : rig.windows().moves) EXPECT_NE(move.window, WindowId::AboutForm);
}

TEST_F(Menu, ResetHiscoresWritesBothZerosBeepsOnceAndGameAThenShowsZero) {
  ASSERT_EQ(inside.vars.HiScoreA, 120);
  const auto litBefore = rig.lit(E::Im_Miss0);
  h.chooseMenuItem(MenuCommand::PM_8HiScore);
  EXPECT_EQ(inside.vars.HiScoreA, 0);
  EXPECT_EQ(inside.vars.HiScoreB, 0);
  EXPECT_EQ(stored("HiScoreA"), "0");
  EXPECT_EQ(stored("HiScoreB"), "0");
  EXPECT_EQ(rig.beeps(), 1);
  EXPECT_EQ(rig.lit(E::Im_Miss0), litBefore) << "the display is not changed";
  const auto& a = elementInfo(E::Puls_GameA);
  h.mousePress(a.left + 1, a.top + 1, MouseButton::Left);
  EXPECT_EQ(inside.face.picture(kSegmentTables.scoreDigits[3]), kSegmentTables.digitGlyphs[0]);
  EXPECT_FALSE(inside.face.picture(kSegmentTables.scoreDigits[2]).has_value());
}

TEST_F(Menu, ARefusedWriteEndsTheResetWithTheStoreMessageAndBothScoresZero) {
  rig.settings.refusesWrites = true;
  h.chooseMenuItem(MenuCommand::PM_8HiScore);
  EXPECT_EQ(rig.errors(), std::vector<std::string>{"Failed to set data for 'HiScoreA'"});
  EXPECT_EQ(rig.beeps(), 0);
  EXPECT_EQ(inside.vars.HiScoreA, 0);
  EXPECT_EQ(inside.vars.HiScoreB, 0);
  EXPECT_EQ(stored("HiScoreA"), "120");
  EXPECT_EQ(stored("HiScoreB"), "340");
}

TEST_F(Menu, KeysWithoutAShortcutChooseNothing) {
  rig.click(E::Puls_GameA);
  for (int key : {0, 1, 13, 32, 65, 88, 111, 116, 123}) h.keyDown(static_cast<VirtualKey>(key));
  EXPECT_EQ(rig.beeps(), 0);
  EXPECT_EQ(inside.vars.HiScoreA, 120);
  EXPECT_TRUE(rig.opened().empty());
  EXPECT_EQ(rig.quits(), 0);
  EXPECT_TRUE(inside.vars.GameRunning);
}

TEST_F(Menu, ARightReleaseOnTheWindowPopsTheMenuUpThereAfterTheElementsOwnHandler) {
  const auto& a = elementInfo(E::Puls_GameA);
  h.mousePress(a.left + 3, a.top + 4, MouseButton::Right);
  EXPECT_TRUE(rig.windows().popups.empty());
  h.mouseRelease(a.left + 3, a.top + 4, MouseButton::Right);
  EXPECT_TRUE(inside.vars.GameRunning) << "Game A's release started a game";
  ASSERT_EQ(rig.windows().popups.size(), 1u);
  EXPECT_EQ(rig.windows().popups[0].left, a.left + 3);
  EXPECT_EQ(rig.windows().popups[0].top, a.top + 4);

  h.mousePress(10, 380, MouseButton::Right);
  h.mouseRelease(10, 380, MouseButton::Right);
  h.mousePress(300, 100, MouseButton::Left);
  h.mouseRelease(300, 100, MouseButton::Left);
  h.mousePress(300, 100, MouseButton::Middle);
  h.mouseRelease(300, 100, MouseButton::Middle);
  h.mouseRelease(700, 100, MouseButton::Right);  // off the window
  ASSERT_EQ(rig.windows().popups.size(), 2u);
  EXPECT_EQ(rig.windows().popups[1].left, 10);
  EXPECT_EQ(rig.windows().popups[1].top, 380);
}

}  // namespace
}  // namespace wuffel
