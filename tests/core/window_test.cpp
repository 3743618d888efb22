// The window port on a real window system: a window shown while it lies off
// the screen stays unmapped, since window managers and compositors would pull
// it into sight, yet counts as shown until it is moved onto the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QWidget>

#include "app/qt_ports.h"
#include "game/handheld.h"

namespace wuffel {
namespace {

QApplication& application() {
  static int argc = 1;
  static char name[] = "window_test";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

TEST(QtWindows, AWindowShownOffTheScreenAppearsOnlyWhenMovedOntoIt) {
  application();
  QWidget form;
  form.resize(654, 394);
  form.move(kMainWindowCreatedAt.left, kMainWindowCreatedAt.top);
  QtWindows windows;
  windows.setWindow(WindowId::Form1, &form);

  windows.show(WindowId::Form1);
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(windows.isShown(WindowId::Form1));
  EXPECT_EQ(windows.position(WindowId::Form1).left, kMainWindowCreatedAt.left);
  EXPECT_EQ(windows.position(WindowId::Form1).top, kMainWindowCreatedAt.top);

  windows.moveTo(WindowId::Form1, {-800, 10});  // still off the screen
  EXPECT_FALSE(form.isVisible());
  windows.moveTo(WindowId::Form1, {20, 10});
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(windows.isShown(WindowId::Form1));

  windows.hide(WindowId::Form1);
  EXPECT_FALSE(windows.isShown(WindowId::Form1));
  windows.moveTo(WindowId::Form1, {30, 10});  // a hidden window stays hidden when moved
  EXPECT_FALSE(form.isVisible());
}

TEST(QtWindows, AWindowOnTheScreenShowsAtOnce) {
  application();
  QWidget splash;
  splash.resize(257, 308);
  splash.move(10, 10);
  QtWindows windows;
  windows.setWindow(WindowId::SplashForm, &splash);
  windows.show(WindowId::SplashForm);
  EXPECT_TRUE(splash.isVisible());
}

// The caption is the whole application title: window managers draw it in
// bold, beside a window-menu icon and up to three buttons about as wide as
// the caption is high, and cut it short in a narrower window.
TEST(QtErrorBox, IsWideEnoughForTheWholeTitleAsItsCaption) {
  application();
  const QString title = QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size());
  auto box = QtErrorBox::makeBox("Failed to set data for 'HiScoreA'.");
  box->show();
  QFont bold = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  bold.setBold(true);
  const QFontMetrics caption(bold);
  EXPECT_EQ(box->windowTitle(), title);
  EXPECT_GE(box->width(), caption.horizontalAdvance(title) + 4 * caption.height());
  EXPECT_LE(box->height(), 200);
}

}  // namespace
}  // namespace wuffel
