#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/dispatcher.h"
#include "platform/error.h"
#include "platform/interval_timer.h"
#include "platform/timeline.h"

namespace wuffel {
namespace {

struct CountingScheduler : TimerScheduler {
  void start(int, int ms) override { starts.push_back(ms); }
  void stop(int) override { ++stops; }
  std::vector<int> starts;
  int stops = 0;
};

TEST(IntervalTimer, RestartsOnlyWhenItsStateReallyChanges) {
  CountingScheduler s;
  IntervalTimer t("T", 0, 220, s, nullptr);
  t.setInterval(300);  // disabled: keeps the new interval, nothing counts
  EXPECT_TRUE(s.starts.empty());
  t.setEnabled(true);
  t.setEnabled(true);  // already enabled: nothing
  t.setInterval(300);  // same interval: nothing
  EXPECT_EQ(s.starts, std::vector<int>{300});
  t.setInterval(150);  // different interval while enabled: the count starts afresh
  EXPECT_EQ(s.starts, (std::vector<int>{300, 150}));
  t.setEnabled(false);
  t.setEnabled(false);
  EXPECT_EQ(s.stops, 1);
  EXPECT_EQ(t.interval(), 150);
}

TEST(VirtualScheduler, FiresInDueOrderWithTiesInCreationOrderAndNoCatchUp) {
  VirtualScheduler v(3);
  std::vector<std::pair<std::int64_t, int>> fired;
  v.start(2, 100);
  v.start(0, 50);
  v.start(1, 100);
  v.advanceTo(200, [&](int i) { fired.emplace_back(v.now(), i); });
  const std::vector<std::pair<std::int64_t, int>> expected{{50, 0}, {100, 0}, {100, 1}, {100, 2},
                                                           {150, 0}, {200, 0}, {200, 1}, {200, 2}};
  EXPECT_EQ(fired, expected);

  // A handler restarting its own timer pushes its next tick a whole interval on.
  fired.clear();
  v.stop(1);
  v.stop(2);
  v.advanceTo(260, [&](int i) {
    fired.emplace_back(v.now(), i);
    v.start(i, 50);
  });
  EXPECT_EQ(fired, (std::vector<std::pair<std::int64_t, int>>{{250, 0}}));
  EXPECT_EQ(v.now(), 260);
}

// The timeline of the window program and the page: on a clock that can stall.
struct RealClockTimers : ::testing::Test {
  Timeline clock;
  std::vector<std::optional<std::int64_t>> armed;
  TimelineScheduler scheduler{clock, 3, kMostCatchUpMs, [this](auto due) { armed.push_back(due); }};
  std::vector<std::pair<std::int64_t, int>> fired;
  void runUntil(std::int64_t t) {
    scheduler.runUntil(t, [this](int i) { fired.emplace_back(clock.now(), i); });
  }
};

TEST_F(RealClockTimers, TicksComeAtTheirDueTimeInCreationOrderAndTheWakeUpFollowsTheEarliest) {
  scheduler.start(2, 100);
  scheduler.start(0, 50);
  scheduler.start(1, 100);
  scheduler.rearm();
  scheduler.rearm();
  EXPECT_EQ(armed, (std::vector<std::optional<std::int64_t>>{50}));
  runUntil(100);
  EXPECT_EQ(fired, (std::vector<std::pair<std::int64_t, int>>{{50, 0}, {100, 0}, {100, 1}, {100, 2}}));
  EXPECT_EQ(clock.now(), 100);
  scheduler.rearm();
  EXPECT_EQ(armed.back(), 150);
  scheduler.stop(0);
  scheduler.stop(1);
  scheduler.stop(2);
  scheduler.rearm();
  EXPECT_EQ(armed.back(), std::nullopt);
}

TEST_F(RealClockTimers, AFewMillisecondsLateEveryTickStillComesAtItsOwnMillisecond) {
  scheduler.start(0, 1);
  runUntil(4);
  EXPECT_EQ(fired, (std::vector<std::pair<std::int64_t, int>>{{1, 0}, {2, 0}, {3, 0}, {4, 0}}));
}

TEST_F(RealClockTimers, ALateWakeFiresEachTimerOnceAndKeepsItsBeat) {
  scheduler.start(0, 220);
  runUntil(1000);  // the program slept through three ticks
  EXPECT_EQ(fired, (std::vector<std::pair<std::int64_t, int>>{{220, 0}}));
  EXPECT_EQ(scheduler.nextDue(), 1100);
  runUntil(1100);
  EXPECT_EQ(fired.back(), (std::pair<std::int64_t, int>{1100, 0}));
  // An input that came late is still handled after the tick before it.
  clock.moveTo(900);
  EXPECT_EQ(clock.now(), 1100);
}

// ---- The windows as page parts ----

TEST(ErrorBox, AddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(errorBoxText("Cannot open"), "Cannot open.");
  EXPECT_EQ(errorBoxText("Done."), "Done.");
  EXPECT_EQ(errorBoxText("Why!"), "Why!");     // '!' sorts before '.'
  EXPECT_EQ(errorBoxText("a,"), "a,");
  EXPECT_EQ(errorBoxText("path/"), "path/.");  // '/' sorts after '.'
  EXPECT_EQ(errorBoxText("code 7"), "code 7.");
  EXPECT_EQ(errorBoxText(""), "");
  EXPECT_EQ(errorBoxText("caf\xc3\xa9"), "caf\xc3\xa9.");
}

TEST(Dispatcher, AnErrorEndsTheHandlerKeepsWhatItDidAndShowsTheBox) {
  struct Box : ErrorBox {
    void showError(const std::string& m) override { shown.push_back(m); }
    std::vector<std::string> shown;
  } box;
  Dispatcher d(box);
  int steps = 0;
  d.run([&] {
    ++steps;
    throw WuffelError("No sound");
    ++steps;
  });
  d.run([&] { ++steps; });
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(box.shown, std::vector<std::string>{"No sound."});
}

}  // namespace
}  // namespace wuffel
