// The program's own windows over a handheld on the runner's stand-ins: the
// main window's keys and what assistive technology finds in it, and the
// splash window's button and links, by mouse and by keyboard.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/face_accessibility.h"
#include "app/face_pictures.h"
#include "app/main_window.h"
#include "app/menu_key.h"
#include "app/splash_window.h"
#include "frontend/face_controls.h"
#include "game/documents.h"
#include "qt_application.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"

namespace wuffel {
namespace {

using E = ElementId;

struct Windows : ::testing::Test {
  Windows() {
    testing::application();
    sim.handheld.start();
  }
  bool lit(ElementId id) const { return sim.handheld.faceState().visible(id); }

  MemorySettings store;
  sim::VirtualHandheld sim{{}, store};
};

struct MainWindowKeys : Windows {
  MainWindowKeys() { form.attach(&sim.handheld); }
  // X11 tells the left Ctrl from the right one only by its key symbol.
  void send(QEvent::Type type, int key, bool autoRepeat = false, quint32 keySymbol = 0) {
    QKeyEvent event(type, key, Qt::NoModifier, 0, keySymbol, 0, QString(), autoRepeat);
    QCoreApplication::sendEvent(&form, &event);
  }

  const FacePictures pictures;
  TForm1 form{pictures};
};

TEST_F(MainWindowKeys, EitherCtrlKeyIsTheSwingKey) {
  constexpr quint32 kLeftCtrl = 0xffe3, kRightCtrl = 0xffe4;
  for (const quint32 symbol : {kLeftCtrl, kRightCtrl}) {
    send(QEvent::KeyPress, Qt::Key_Control, false, symbol);
    EXPECT_FALSE(lit(E::Puls_Hit)) << symbol;
    send(QEvent::KeyRelease, Qt::Key_Control, false, symbol);
    EXPECT_TRUE(lit(E::Puls_Hit)) << symbol;
  }
}

// X11 repeats a held key as releases and presses; only the last release
// counts, so the key stays down.
TEST_F(MainWindowKeys, AutoRepeatedReleasesAreIgnored) {
  send(QEvent::KeyPress, Qt::Key_Up);
  EXPECT_FALSE(lit(E::Puls_Up));
  for (int repeat = 0; repeat < 3; ++repeat) {
    send(QEvent::KeyRelease, Qt::Key_Up, true);
    send(QEvent::KeyPress, Qt::Key_Up, true);
    EXPECT_FALSE(lit(E::Puls_Up));
  }
  send(QEvent::KeyRelease, Qt::Key_Up);
  EXPECT_TRUE(lit(E::Puls_Up));
}

TEST_F(MainWindowKeys, TheShortcutKeysChooseTheirCommands) {
  send(QEvent::KeyPress, Qt::Key_F1);
  EXPECT_TRUE(sim.windows.isShown(WindowId::AboutForm));
  send(QEvent::KeyPress, Qt::Key_F3);
  EXPECT_EQ(sim.shell.opened, std::vector<std::string>{std::string(kWhatsnewDocument)});
  send(QEvent::KeyPress, Qt::Key_Escape);
  EXPECT_EQ(sim.messageLoop.quits, 1);
}

// The menu key, or Shift+F10, opens the command menu where a right click
// on the face's middle would.
TEST_F(MainWindowKeys, TheMenuKeyOpensTheCommandMenu) {
  MenuKey menuKey(form, sim.handheld);
  send(QEvent::KeyPress, Qt::Key_Menu);
  send(QEvent::KeyRelease, Qt::Key_Menu);
  QKeyEvent shiftF10(QEvent::KeyPress, Qt::Key_F10, Qt::ShiftModifier);
  QCoreApplication::sendEvent(&form, &shiftF10);
  const auto& base = elementInfo(E::Im_Base);
  ASSERT_EQ(sim.windows.popups.size(), 2u);
  EXPECT_EQ(sim.windows.popups[0].left, base.left + base.width / 2);
  EXPECT_EQ(sim.windows.popups[0].top, base.top + base.height / 2);
  send(QEvent::KeyPress, Qt::Key_F10);
  EXPECT_EQ(sim.windows.popups.size(), 2u) << "F10 alone is not the menu key";
}

// What a screen reader finds: the handheld a group of the case's buttons,
// each pressing its button, HIT, UP and DOWN only where they act; the score
// its value; and the announcer's last sentence on its status line.
TEST_F(MainWindowKeys, AssistiveTechnologyFindsTheCaseButtonsTheScoreAndTheStatusLine) {
  FaceAccessibility accessibility(form);
  QAccessibleInterface* group = QAccessible::queryAccessibleInterface(&form);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->role(), QAccessible::Grouping);
  EXPECT_EQ(group->text(QAccessible::Name), QString::fromUtf8(kApplicationTitle.data()));
  ASSERT_EQ(group->childCount(), static_cast<int>(kFaceControls.size()) + 1);
  auto button = [&](int i) { return group->child(i); };
  for (int i = 0; i < static_cast<int>(kFaceControls.size()); ++i) {
    EXPECT_EQ(button(i)->role(), QAccessible::Button);
    EXPECT_EQ(button(i)->text(QAccessible::Name).toStdString(), kFaceControls[i].name);
    EXPECT_EQ(button(i)->state().disabled, kFaceControls[i].withModernKeysOnly) << kFaceControls[i].name;
    EXPECT_EQ(group->indexOfChild(button(i)), i);
  }
  sim.handheld.changeSetting(Setting::Keys, static_cast<int>(KeyMode::Modern));
  EXPECT_FALSE(button(4)->state().disabled);

  EXPECT_FALSE(sim.handheld.variables().GameRunning);
  button(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(sim.handheld.variables().GameRunning);
  EXPECT_EQ(group->valueInterface()->currentValue().toInt(), sim.handheld.variables().Score);
  button(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_FALSE(sim.handheld.variables().GameRunning) << "ACL stops the game";

  QAccessibleInterface* status = group->child(group->childCount() - 1);
  EXPECT_EQ(status->role(), QAccessible::StatusBar);
  accessibility.announce("Miss, 2 lives left");
  EXPECT_EQ(status->text(QAccessible::Name), QStringLiteral("Miss, 2 lives left"));
}

// Esc leaves full screen, as in every desktop program; outside it, it quits.
TEST_F(MainWindowKeys, EscLeavesFullScreenFirst) {
  form.toggleFullScreen();
  ASSERT_TRUE(form.isFullScreen());
  send(QEvent::KeyPress, Qt::Key_Escape);
  send(QEvent::KeyRelease, Qt::Key_Escape);
  EXPECT_FALSE(form.isFullScreen());
  EXPECT_EQ(sim.messageLoop.quits, 0);
  send(QEvent::KeyPress, Qt::Key_Escape);
  EXPECT_EQ(sim.messageLoop.quits, 1);
}

template <typename Widget>
Widget* childWithText(QWidget& parent, std::string_view text) {
  for (Widget* child : parent.findChildren<Widget*>())
    if (child->text() == QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) return child;
  return nullptr;
}

TEST_F(Windows, PlayBringsTheHandheldOntoTheScreenAndTheLinksOpenTheirAddresses) {
  TSplashForm splash(sim.handheld);
  QPushButton* play = childWithText<QPushButton>(splash, "- PLAY -");
  ASSERT_NE(play, nullptr);
  QTest::mouseClick(play, Qt::LeftButton);
  EXPECT_FALSE(sim.windows.isShown(WindowId::SplashForm));
  const auto centre = sim.windows.position(WindowId::Form1);
  EXPECT_EQ(centre.left, (sim.windows.screenWidth() - sim.windows.windowWidth(WindowId::Form1)) / 2);
  EXPECT_EQ(centre.top, (sim.windows.screenHeight() - sim.windows.windowHeight(WindowId::Form1)) / 2);

  QLabel* mail = childWithText<QLabel>(splash, kMailAddress);
  QLabel* web = childWithText<QLabel>(splash, kWebAddress);
  ASSERT_NE(mail, nullptr);
  ASSERT_NE(web, nullptr);
  QTest::mouseClick(mail, Qt::LeftButton);
  QTest::mouseClick(web, Qt::LeftButton);
  EXPECT_EQ(sim.shell.opened, (std::vector<std::string>{std::string(kMailAddress), std::string(kWebAddress)}));
}

// By keyboard alone: Enter plays; Tab reaches the links, and Enter or Space opens them.
TEST_F(Windows, TheSplashWindowAndTheAboutWindowWorkByKeyboard) {
  TSplashForm splash(sim.handheld);
  splash.show();
  QLabel* web = childWithText<QLabel>(splash, kWebAddress);
  ASSERT_NE(web, nullptr);
  EXPECT_EQ(web->focusPolicy(), Qt::TabFocus);
  web->setFocus();
  QTest::keyClick(web, Qt::Key_Space);
  QTest::keyClick(web, Qt::Key_Return);
  EXPECT_EQ(sim.shell.opened, (std::vector<std::string>{std::string(kWebAddress), std::string(kWebAddress)}));
  EXPECT_TRUE(sim.windows.isShown(WindowId::SplashForm)) << "Enter on a link played";
  QTest::keyClick(&splash, Qt::Key_Return);
  EXPECT_FALSE(sim.windows.isShown(WindowId::SplashForm));

  TAboutForm about;
  about.show();
  QTest::keyClick(&about, Qt::Key_Escape);
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace wuffel
