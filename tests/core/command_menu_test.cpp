#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "app/command_menu.h"

namespace wuffel {
namespace {

struct CommandMenuTest : ::testing::Test {
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "command_menu_test";
    static char* argv[] = {name, nullptr};
    // Left alive to the end: a QApplication destroyed among the statics crashes at exit.
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  std::vector<MenuCommand> chosen;
  CommandMenu menu{nullptr, [this](MenuCommand c) { chosen.push_back(c); }};
};

TEST_F(CommandMenuTest, ShowsTheItemsInOrderWithShortcutTextsSeparatorsAndTheDefaultItem) {
  QStringList shown;
  for (QAction* a : menu.actions()) shown << a->objectName() + (a->isSeparator() ? QString() : "=" + a->text());
  EXPECT_EQ(shown.join(" | ").toStdString(),
            "PM_1About=About...\tF1 | PM_2N1 | PM_3Readme=View 'Readme.txt'\tF2 | "
            "PM_4Whatsnew=View 'Whatsnew.txt'\tF3 | PM_5N2 | PM_6Instruct=Open 'Manual.exe'\tF4 | PM_7N3 | "
            "PM_8HiScore=Reset Hiscores | PM_Settings=Settings...\tF5 | PM_9N4 | PM_10Exit=E&xit\tEsc");
  ASSERT_NE(menu.defaultAction(), nullptr);
  EXPECT_EQ(menu.defaultAction()->objectName(), "PM_1About");
  // The keys reach the handheld, not Qt's shortcut map: the menu only shows them.
  for (QAction* a : menu.actions()) EXPECT_TRUE(a->shortcut().isEmpty()) << a->objectName().toStdString();
}

TEST_F(CommandMenuTest, ChoosingAnItemRunsItsCommandAndXChoosesExit) {
  for (QAction* a : menu.actions())
    if (!a->isSeparator()) a->trigger();
  EXPECT_EQ(chosen, (std::vector<MenuCommand>{MenuCommand::PM_1About, MenuCommand::PM_3Readme,
                                              MenuCommand::PM_4Whatsnew, MenuCommand::PM_6Instruct,
                                              MenuCommand::PM_8HiScore, MenuCommand::PM_Settings,
                                              MenuCommand::PM_10Exit}));
  chosen.clear();
  menu.popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  QTest::keyClick(&menu, Qt::Key_X);
  EXPECT_EQ(chosen, std::vector<MenuCommand>{MenuCommand::PM_10Exit});
  EXPECT_FALSE(menu.isVisible());
}

}  // namespace
}  // namespace wuffel
