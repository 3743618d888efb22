#include <gtest/gtest.h>

#include <vector>

#include "platform/dispatcher.h"
#include "platform/error.h"
#include "platform/interval_timer.h"
#include "platform/virtual_scheduler.h"

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
