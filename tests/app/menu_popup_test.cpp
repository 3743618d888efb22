#include <gtest/gtest.h>

#include <QTest>

#include "app/menu_popup.h"
#include "qt_application.h"

namespace wuffel {
namespace {

struct MenuPopupTest : ::testing::Test {
  QApplication& app = testing::application();
  std::vector<MenuCommand> chosen;
  MenuPopup menu{nullptr, [this](MenuCommand c) { chosen.push_back(c); }};
};

// The popup follows the menu's table: an entry per item in its order, the
// shortcut beside the caption, and the default item marked.
TEST_F(MenuPopupTest, ShowsTheTableWithItsShortcutsAndDefaultItem) {
  const QList<QAction*> actions = menu.actions();
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(kCommandMenu.size()));
  for (std::size_t i = 0; i < kCommandMenu.size(); ++i) {
    const MenuItem& item = kCommandMenu[i];
    const QAction* action = actions[static_cast<qsizetype>(i)];
    EXPECT_EQ(action->objectName().toStdString(), item.name);
    EXPECT_EQ(action->isSeparator(), isSeparator(item)) << item.name;
    if (isSeparator(item)) continue;
    const QString shortcut = item.shortcutText.empty() ? QString() : "\t" + QString::fromUtf8(item.shortcutText.data());
    EXPECT_EQ(action->text(), QString::fromUtf8(item.caption.data(), item.caption.size()) + shortcut);
    // The keys reach the handheld, not Qt's shortcut map: the menu only shows them.
    EXPECT_TRUE(action->shortcut().isEmpty()) << item.name;
  }
  ASSERT_NE(menu.defaultAction(), nullptr);
  EXPECT_EQ(menu.defaultAction()->objectName(), "PM_1About");
}

TEST_F(MenuPopupTest, ChoosingAnItemRunsItsCommandAndXChoosesExit) {
  for (QAction* a : menu.actions())
    if (!a->isSeparator()) a->trigger();
  EXPECT_EQ(chosen, (std::vector<MenuCommand>{MenuCommand::PM_1About, MenuCommand::PM_3Readme,
                                              MenuCommand::PM_4Whatsnew, MenuCommand::PM_6Instruct,
                                              MenuCommand::PM_8HiScore, MenuCommand::PM_Settings,
                                              MenuCommand::PM_Pause, MenuCommand::PM_10Exit}));
  chosen.clear();
  menu.popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  QTest::keyClick(&menu, Qt::Key_X);
  EXPECT_EQ(chosen, std::vector<MenuCommand>{MenuCommand::PM_10Exit});
  EXPECT_FALSE(menu.isVisible());
}

// Each time it opens, the items read as the game says: the pause item
// "Resume" while paused, greyed out while there is no game.
TEST_F(MenuPopupTest, OpeningShowsEachItemAsTheGameSaysItIsNow) {
  MenuItemState pause{"Pause", "", false};
  MenuPopup stated(nullptr, [](MenuCommand) {}, [&](const MenuItem& item) {
    return item.command == MenuCommand::PM_Pause ? pause : MenuItemState{item.caption, item.shortcutText};
  });
  QAction* item = stated.findChild<QAction*>("PM_Pause");
  ASSERT_NE(item, nullptr);
  stated.popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&stated));
  EXPECT_EQ(item->text(), "Pause");
  EXPECT_FALSE(item->isEnabled());
  EXPECT_TRUE(stated.findChild<QAction*>("PM_Settings")->isEnabled());
  stated.hide();
  pause = {"Resume", "P", true};
  stated.popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&stated));
  EXPECT_EQ(item->text(), "Resume\tP");
  EXPECT_TRUE(item->isEnabled());
}

}  // namespace
}  // namespace wuffel
