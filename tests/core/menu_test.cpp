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
  Handheld& h = *rig.handheld;
};

TEST(MenuCommands, EachDoesTheSameFromTheMenuAndFromItsShortcutKey) {
  for (const bool byKey : {false, true}) {
    Rig rig;
    rig.handheld->start();
    auto choose = [&](MenuCommand command, int key) {
      if (byKey)
        rig.handheld->keyDown(key);
      else
        rig.handheld->chooseMenuItem(command);
    };
    choose(MenuCommand::PM_3Readme, kKeyF2);
    choose(MenuCommand::PM_4Whatsnew, kKeyF3);
    choose(MenuCommand::PM_6Instruct, kKeyF4);
    EXPECT_EQ(rig.ports.opened, (std::vector<std::string>{".\\readme.txt", ".\\whatsnew.txt", ".\\Manual.EXE"}));
    rig.ports.fronts.clear();
    choose(MenuCommand::PM_1About, kKeyF1);
    EXPECT_TRUE(rig.ports.isShown(WindowId::AboutForm));
    EXPECT_EQ(rig.ports.fronts, std::vector<WindowId>{WindowId::AboutForm});
    EXPECT_EQ(rig.ports.quits, 0);
    choose(MenuCommand::PM_10Exit, kKeyEscape);
    EXPECT_EQ(rig.ports.quits, 1) << byKey;
    EXPECT_TRUE(rig.ports.errors.empty());
  }
}

TEST_F(Menu, AboutIsBroughtToTheFrontWhenShownAndKeepsWhereItWasClosed) {
  rig.ports.positions[WindowId::AboutForm] = {0, 0};
  h.chooseMenuItem(MenuCommand::PM_1About);
  rig.ports.moveTo(WindowId::AboutForm, {300, 200});  // the user moves it
  h.chooseMenuItem(MenuCommand::PM_1About);
  EXPECT_EQ(rig.ports.fronts.back(), WindowId::AboutForm);
  h.closeAboutForm();
  EXPECT_FALSE(rig.ports.isShown(WindowId::AboutForm));
  h.chooseMenuItem(MenuCommand::PM_1About);
  EXPECT_TRUE(rig.ports.isShown(WindowId::AboutForm));
  EXPECT_EQ(rig.ports.position(WindowId::AboutForm).left, 300);
  EXPECT_EQ(rig.ports.position(WindowId::AboutForm).top, 200);
}

TEST_F(Menu, ResetHiscoresWritesBothZerosBeepsOnceAndGameAThenShowsZero) {
  ASSERT_EQ(h.vars.HiScoreA, 120);
  const auto litBefore = rig.lit(E::Im_Miss0);
  h.chooseMenuItem(MenuCommand::PM_8HiScore);
  EXPECT_EQ(h.vars.HiScoreA, 0);
  EXPECT_EQ(h.vars.HiScoreB, 0);
  EXPECT_EQ(stored("HiScoreA"), "0");
  EXPECT_EQ(stored("HiScoreB"), "0");
  EXPECT_EQ(rig.ports.beeps, 1);
  EXPECT_EQ(rig.lit(E::Im_Miss0), litBefore) << "the display is not changed";
  const auto& a = elementInfo(E::Puls_GameA);
  h.mousePress(a.left + 1, a.top + 1, MouseButton::Left);
  EXPECT_EQ(h.face.picture(h.tables.scoreDigits[3]), h.tables.digitGlyphs[0]);
  EXPECT_FALSE(h.face.picture(h.tables.scoreDigits[2]).has_value());
}

TEST_F(Menu, ARefusedWriteEndsTheResetWithTheStoreMessageAndBothScoresZero) {
  rig.settings.refusesWrites = true;
  h.chooseMenuItem(MenuCommand::PM_8HiScore);
  EXPECT_EQ(rig.ports.errors, std::vector<std::string>{"Failed to set data for 'HiScoreA'"});
  EXPECT_EQ(rig.ports.beeps, 0);
  EXPECT_EQ(h.vars.HiScoreA, 0);
  EXPECT_EQ(h.vars.HiScoreB, 0);
  EXPECT_EQ(stored("HiScoreA"), "120");
  EXPECT_EQ(stored("HiScoreB"), "340");
}

TEST_F(Menu, KeysWithoutAShortcutChooseNothing) {
  rig.click(E::Puls_GameA);
  for (int key : {0, 1, 13, 32, 65, 88, 111, 116, 123}) h.keyDown(key);
  EXPECT_EQ(rig.ports.beeps, 0);
  EXPECT_EQ(h.vars.HiScoreA, 120);
  EXPECT_TRUE(rig.ports.opened.empty());
  EXPECT_EQ(rig.ports.quits, 0);
  EXPECT_TRUE(h.vars.GameRunning);
}

TEST_F(Menu, ARightReleaseOnTheWindowPopsTheMenuUpThereAfterTheElementsOwnHandler) {
  const auto& a = elementInfo(E::Puls_GameA);
  h.mousePress(a.left + 3, a.top + 4, MouseButton::Right);
  EXPECT_TRUE(rig.ports.popups.empty());
  h.mouseRelease(a.left + 3, a.top + 4, MouseButton::Right);
  EXPECT_TRUE(h.vars.GameRunning) << "Game A's release started a game";
  ASSERT_EQ(rig.ports.popups.size(), 1u);
  EXPECT_EQ(rig.ports.popups[0].left, a.left + 3);
  EXPECT_EQ(rig.ports.popups[0].top, a.top + 4);

  h.mousePress(10, 380, MouseButton::Right);
  h.mouseRelease(10, 380, MouseButton::Right);
  h.mousePress(300, 100, MouseButton::Left);
  h.mouseRelease(300, 100, MouseButton::Left);
  h.mousePress(300, 100, MouseButton::Middle);
  h.mouseRelease(300, 100, MouseButton::Middle);
  h.mouseRelease(700, 100, MouseButton::Right);  // off the window
  ASSERT_EQ(rig.ports.popups.size(), 2u);
  EXPECT_EQ(rig.ports.popups[1].left, 10);
  EXPECT_EQ(rig.ports.popups[1].top, 380);
}

}  // namespace
}  // namespace wuffel
