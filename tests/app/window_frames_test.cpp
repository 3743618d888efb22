// The splash window and the about dialog ask the window manager for no frame
// (its title bars carry a window menu and buttons whatever a window asks for)
// and draw their own caption: the splash window's with no button, the about
// dialog's with the close box alone.
#include <gtest/gtest.h>

#include <QTest>

#include "app/splash_window.h"
#include "core/rig.h"
#include "qt_application.h"

namespace wuffel {
namespace {

struct WindowFramesTest : ::testing::Test {
  WindowFramesTest() { testing::application(); }
};

constexpr Qt::WindowFlags kWindowManagerButtons =
    Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
    Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint;

void click(QWidget& window, QPoint at) {
  QTest::mousePress(&window, Qt::LeftButton, {}, at);
  QTest::mouseRelease(&window, Qt::LeftButton, {}, at);
}

TEST_F(WindowFramesTest, TheSplashWindowShowsItsCaptionWithNoButton) {
  testing::Rig rig;
  TSplashForm splash(rig.handheld);
  splash.show();
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_FALSE(splash.windowFlags() & kWindowManagerButtons);
  EXPECT_EQ(splash.windowTitle(), "About Wuffel Tennis...");
  EXPECT_TRUE(splash.closeBoxRect().isEmpty());
  EXPECT_EQ(splash.client()->size(), QSize(kSplashFormSize.width, kSplashFormSize.height));
  EXPECT_GE(splash.client()->y(), splash.captionRect().bottom());

  // where a close box would be, and the window manager's close key
  const QRect caption = splash.captionRect();
  click(splash, {caption.right() - caption.height() / 2, caption.center().y()});
  splash.close();
  EXPECT_TRUE(splash.isVisible());
}

TEST_F(WindowFramesTest, TheAboutDialogShowsItsCaptionWithTheCloseBoxAlone) {
  TAboutForm about;
  about.show();
  EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_FALSE(about.windowFlags() & kWindowManagerButtons);
  EXPECT_EQ(about.client()->size(), QSize(kAboutFormSize.width, kAboutFormSize.height));
  const QRect closeBox = about.closeBoxRect();
  ASSERT_FALSE(closeBox.isEmpty());
  EXPECT_TRUE(about.captionRect().contains(closeBox));
  EXPECT_GT(closeBox.left(), about.captionRect().center().x());

  // a press that leaves the box before its release closes nothing
  QTest::mousePress(&about, Qt::LeftButton, {}, closeBox.center());
  QTest::mouseMove(&about, about.captionRect().center());
  QTest::mouseRelease(&about, Qt::LeftButton, {}, about.captionRect().center());
  EXPECT_TRUE(about.isVisible());
  click(about, closeBox.center());
  EXPECT_FALSE(about.isVisible());
}

// Where the window system cannot move a window for it (as here, and on X11
// without a window manager), the window follows the mouse itself.
TEST_F(WindowFramesTest, DraggingTheCaptionMovesTheWindowAndDraggingTheClientAreaDoesNot) {
  TAboutForm about;
  about.move(100, 100);
  about.show();
  const QPoint grip = about.captionRect().center() - QPoint(40, 0);
  QTest::mousePress(&about, Qt::LeftButton, {}, grip);
  QTest::mouseMove(&about, grip + QPoint(30, 20));
  QTest::mouseRelease(&about, Qt::LeftButton, {}, grip + QPoint(30, 20));
  EXPECT_EQ(about.pos(), QPoint(130, 120));

  const QPoint inside = about.client()->geometry().center();
  QTest::mousePress(&about, Qt::LeftButton, {}, inside);
  QTest::mouseMove(&about, inside + QPoint(30, 20));
  QTest::mouseRelease(&about, Qt::LeftButton, {}, inside + QPoint(30, 20));
  EXPECT_EQ(about.pos(), QPoint(130, 120));
}

}  // namespace
}  // namespace wuffel
