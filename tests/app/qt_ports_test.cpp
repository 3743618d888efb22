// The ports on Qt: the windows on a real window system, the interval timers
// and the shell's reading of the program's targets.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <vector>

#include "app/qt_ports.h"
#include "app/qt_timeline.h"
#include "app/qt_text.h"
#include "game/documents.h"
#include "platform/windows.h"
#include "qt_application.h"

namespace wuffel {
namespace {

// Runs the event loop until `done` or a long while has passed.
template <typename Done>
bool processEventsUntil(Done done) {
  QElapsedTimer waited;
  waited.start();
  while (!done() && waited.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

// A window shown while it lies off the screen stays unmapped, since window
// managers and compositors would pull it into sight, until it is moved
// onto the screen.
TEST(QtWindows, AWindowShownOffTheScreenAppearsOnlyWhenMovedOntoIt) {
  testing::application();
  QWidget form;
  form.resize(654, 394);
  form.move(kMainWindowCreatedAt.left, kMainWindowCreatedAt.top);
  QtWindows windows;
  windows.setWindow(WindowId::Form1, &form);

  windows.show(WindowId::Form1);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(windows.position(WindowId::Form1).left, kMainWindowCreatedAt.left);
  EXPECT_EQ(windows.position(WindowId::Form1).top, kMainWindowCreatedAt.top);

  windows.moveTo(WindowId::Form1, {-800, 10});  // still off the screen
  EXPECT_FALSE(form.isVisible());
  windows.moveTo(WindowId::Form1, {20, 10});
  EXPECT_TRUE(form.isVisible());

  windows.hide(WindowId::Form1);
  windows.moveTo(WindowId::Form1, {30, 10});  // a hidden window stays hidden when moved
  EXPECT_FALSE(form.isVisible());
}

// The about dialog is built when first asked for, and shows again where
// the user left it.
TEST(QtWindows, AWindowMadeOnDemandShowsAgainWhereItWasClosed) {
  testing::application();
  QWidget* about = nullptr;
  QtWindows windows;
  windows.setWindowMaker(WindowId::AboutForm, [&about] {
    auto made = std::make_unique<QWidget>();
    made->resize(kAboutFormSize.width, kAboutFormSize.height);
    about = made.get();
    return made;
  });
  EXPECT_EQ(about, nullptr);
  windows.show(WindowId::AboutForm);
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->isVisible());
  about->move(120, 80);  // the user moves it
  windows.hide(WindowId::AboutForm);
  windows.show(WindowId::AboutForm);
  windows.bringToFront(WindowId::AboutForm);
  EXPECT_TRUE(about->isVisible());
  EXPECT_EQ(windows.position(WindowId::AboutForm).left, 120);
  EXPECT_EQ(windows.position(WindowId::AboutForm).top, 80);
}

// The caption is the whole application title: window managers draw it in
// bold, beside a window-menu icon and up to three buttons about as wide as
// the caption is high, and cut it short in a narrower window.
TEST(QtErrorBox, IsWideEnoughForTheWholeTitleAsItsCaption) {
  testing::application();
  const QString title = qtText(kApplicationTitle);
  auto box = QtErrorBox::makeBox("Failed to set data for 'HiScoreA'.");
  box->show();
  QFont bold = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  bold.setBold(true);
  const QFontMetrics caption(bold);
  EXPECT_EQ(box->windowTitle(), title);
  EXPECT_GE(box->width(), caption.horizontalAdvance(title) + 4 * caption.height());
  EXPECT_LE(box->height(), 200);
}

// Over the handheld, Yes by default, and Esc answers no.
TEST(QtQuestionBox, AsksOverItsOwnerWithYesByDefaultAndNoOnEsc) {
  testing::application();
  QWidget owner;
  QtQuestionBox questions;
  questions.setOwner(&owner);
  auto box = questions.makeBox("Quit the game in progress?");
  EXPECT_EQ(box->text(), "Quit the game in progress?");
  EXPECT_EQ(box->windowTitle(), qtText(kApplicationTitle));
  EXPECT_EQ(box->parentWidget(), &owner);
  EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
  EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
  // Wide enough for the whole title, as the error box.
  box->show();
  QFont bold = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  bold.setBold(true);
  const QFontMetrics caption(bold);
  EXPECT_GE(box->width(), caption.horizontalAdvance(box->windowTitle()) + 4 * caption.height());
}

// Every tick comes at the millisecond it was due on the timeline, whenever
// the program woke for it.
TEST(QtTimeline, FiresEachTickAtItsOwnMillisecondUntilStopped) {
  testing::application();
  std::vector<std::pair<int, std::int64_t>> fired;
  QtTimeline* timeline = nullptr;
  QtTimeline t(9, [&](int index) { fired.emplace_back(index, timeline->scheduler().now()); });
  timeline = &t;
  t.scheduler().start(3, 20);
  t.scheduler().rearm();
  ASSERT_TRUE(processEventsUntil([&] { return fired.size() >= 3; }));
  t.scheduler().stop(3);
  t.eventHandled();
  for (std::size_t i = 0; i < fired.size(); ++i) EXPECT_EQ(fired[i], (std::pair<int, std::int64_t>{3, 20 * (i + 1)}));
  const std::size_t whenStopped = fired.size();
  QTest::qWait(60);
  EXPECT_EQ(fired.size(), whenStopped) << "a stopped timer fires no more";
}

// Before an input the program brings its ticks up to the input's moment,
// also when it has not woken for them yet.
TEST(QtTimeline, AnInputComesAfterEveryTickDueByItsMoment) {
  testing::application();
  std::vector<std::int64_t> fired;
  QtTimeline* timeline = nullptr;
  QtTimeline t(9, [&](int) { fired.push_back(timeline->scheduler().now()); });
  timeline = &t;
  t.scheduler().start(0, 30);
  QElapsedTimer busy;
  busy.start();
  while (busy.elapsed() < 100) {
  }
  t.beforeInput();
  EXPECT_EQ(fired, (std::vector<std::int64_t>{30, 60, 90}));
  EXPECT_GE(t.scheduler().now(), 100);
}

// A pause holds a timer's count: nothing fires while held, and once resumed
// the count goes on and then keeps its interval.
TEST(QtTimeline, AHeldTimerFiresOnlyOnceResumedAndThenEveryInterval) {
  testing::application();
  std::vector<int> fired;
  QtTimeline t(9, [&fired](int index) { fired.push_back(index); });
  TimelineScheduler& scheduler = t.scheduler();
  scheduler.start(2, 40);
  scheduler.suspend(2);
  scheduler.rearm();
  QTest::qWait(120);
  EXPECT_TRUE(fired.empty());
  t.beforeInput();
  scheduler.resume(2, 40);
  scheduler.rearm();
  ASSERT_TRUE(processEventsUntil([&] { return fired.size() >= 3; }));
  EXPECT_EQ(fired, (std::vector<int>(fired.size(), 2)));
  scheduler.stop(2);
}

TEST(QtShell, OpensAddressesAsTheyAreAndDocumentsBelowTheWorkingDirectory) {
  EXPECT_EQ(QtShell::urlOf(std::string(kMailAddress)), QUrl(QStringLiteral("mailto:wuffel-tennis@example.org")));
  EXPECT_EQ(QtShell::urlOf(std::string(kWebAddress)), QUrl(QStringLiteral("https://wuffel-tennis.example.org/")));
  const QUrl readme = QtShell::urlOf(std::string(kReadmeDocument));
  EXPECT_TRUE(readme.isLocalFile());
  EXPECT_EQ(readme.toLocalFile(), QDir::current().absoluteFilePath(QStringLiteral("readme.txt")));
  EXPECT_EQ(QtShell::urlOf(".\\SOUND\\..\\Manual.EXE").toLocalFile(),
            QDir::current().absoluteFilePath(QStringLiteral("Manual.EXE")));
}

}  // namespace
}  // namespace wuffel
