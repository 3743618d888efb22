// The window program's timers held by a pause: nothing fires while held, and
// once resumed the count goes on and then keeps its interval.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "app/qt_ports.h"
#include "qt_application.h"

namespace wuffel {
namespace {

TEST(PausedTimers, AHeldTimerFiresOnlyOnceResumedAndThenEveryInterval) {
  testing::qtApplication();
  std::vector<int> fired;
  QtTimerScheduler scheduler([&fired](int index) { fired.push_back(index); });
  scheduler.start(2, 40);
  scheduler.suspend(2);
  QTest::qWait(120);
  EXPECT_TRUE(fired.empty());
  scheduler.resume(2, 40);
  QTRY_COMPARE_WITH_TIMEOUT(fired.size(), std::size_t{3}, 10000);
  EXPECT_EQ(fired, (std::vector<int>{2, 2, 2}));
  // One stopped while held has nothing left, and resumes as started afresh.
  scheduler.suspend(2);
  scheduler.stop(2);
  scheduler.resume(2, 40);
  QTRY_COMPARE_WITH_TIMEOUT(fired.size(), std::size_t{4}, 10000);
  scheduler.stop(2);
}

}  // namespace
}  // namespace wuffel
