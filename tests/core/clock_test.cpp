#include <gtest/gtest.h>

#include <algorithm>

#include "rig.h"

namespace wuffel {
namespace {

using E = ElementId;
using testing::Rig;

constexpr std::int64_t kMinute = 60'000;
constexpr std::int64_t at(int hour, int minute) { return (hour * 60LL + minute) * kMinute; }

// The four-digit display as it reads: blank positions as spaces, the colon
// when lit, then the lit marks.
std::string display(const Rig& rig) {
  std::string s = rig.digits();
  std::replace(s.begin(), s.end(), '-', ' ');
  s.insert(2, 1, rig.lit(E::Im_TimePP) ? ':' : ' ');
  if (rig.lit(E::Im_TimeAM)) s += " AM";
  if (rig.lit(E::Im_TimePM)) s += " PM";
  return s;
}

void pressTime(Rig& rig, MouseButton button = MouseButton::Left) {
  const auto& t = elementInfo(E::Puls_Time);
  rig.handheld.mousePress(t.left + 2, t.top + 2, button);
}

void releaseTime(Rig& rig, MouseButton button = MouseButton::Left, int dx = 2) {
  const auto& t = elementInfo(E::Puls_Time);
  rig.handheld.mouseRelease(t.left + dx, t.top + 2, button);
}

struct Clock : ::testing::Test {
  Clock() {
    rig.handheld.start();
    rig.handheld.splashPlay();
  }
  void showTimeAt(std::int64_t localTime) {
    rig.timeOfDay().setLocalAtZero(localTime - rig.now());
    pressTime(rig);
    releaseTime(rig);
    rig.wait(1);
  }
  Rig rig;
  Handheld& h = rig.handheld;
  HandheldTestAccess& inside = rig.inside;
};

TEST_F(Clock, ReadsTheTimeOnATwelveHourDialWithAmAndPm) {
  const std::pair<std::int64_t, std::string> cases[] = {
      {at(0, 5), "12:05 AM"}, {at(12, 0), "12:00 PM"}, {at(13, 7), " 1:07 PM"}, {at(23, 59), "11:59 PM"},
      {at(10, 0), "10:00 AM"}, {at(9, 30), " 9:30 AM"}, {at(11, 0), "11:00 AM"}, {at(22, 10), "10:10 PM"},
  };
  for (const auto& [time, reads] : cases) {
    showTimeAt(time);
    EXPECT_EQ(display(rig), reads);
    EXPECT_EQ(inside.face.picture(E::Im_NumPos1).has_value(), reads[0] != ' ') << reads;
    EXPECT_TRUE(rig.lit(E::Im_NumPos1)) << "a blank position stays visible";
  }
}

TEST_F(Clock, HoldingTimeShowsTheAlarmOnAClearedFaceAndReleasingShowsTheTimeAtOnce) {
  rig.timeOfDay().setLocalAtZero(at(15, 42));
  ASSERT_TRUE(rig.lit(E::Im_Miss0));
  pressTime(rig);
  EXPECT_FALSE(rig.lit(E::Puls_Time));
  EXPECT_EQ(display(rig), "12:00 PM");
  EXPECT_TRUE(rig.lit(E::Im_Pippet1));
  EXPECT_FALSE(rig.lit(E::Im_Miss0) || rig.lit(E::Im_Pippet2) || rig.lit(E::Im_GameA));
  EXPECT_FALSE(h.timerState(TimerId::TimerClock).enabled());
  rig.wait(5000);
  EXPECT_EQ(display(rig), "12:00 PM") << "the alarm view stands while the button is held";

  releaseTime(rig);
  EXPECT_TRUE(rig.lit(E::Puls_Time));
  EXPECT_FALSE(rig.lit(E::Im_Pippet1));
  EXPECT_EQ(inside.vars.GameMode, GameModeValue::Clock);
  EXPECT_EQ(h.timerState(TimerId::TimerClock).interval(), 1);
  EXPECT_TRUE(h.timerState(TimerId::TimerClock).enabled());
  rig.wait(1);
  EXPECT_EQ(display(rig), " 3:42 PM");
  EXPECT_EQ(h.timerState(TimerId::TimerClock).interval(), 1000);

  // Held again in clock mode: nothing is cleared, the clock stops.
  pressTime(rig);
  EXPECT_EQ(display(rig), "12:00 PM");
  EXPECT_FALSE(h.timerState(TimerId::TimerClock).enabled());
  rig.wait(3000);
  EXPECT_EQ(display(rig), "12:00 PM");
  releaseTime(rig);
  rig.wait(1);
  EXPECT_EQ(display(rig), " 3:42 PM");
}

TEST_F(Clock, TheNewMinuteShowsWithinASecondWhateverTheSecondsWhenReleased) {
  for (const std::int64_t seconds : {0, 1, 30'000, 59'000, 59'998}) {
    const std::int64_t releasedAt = rig.now();
    showTimeAt(at(7, 14) + seconds);
    ASSERT_EQ(display(rig), " 7:14 AM");
    const std::int64_t minuteChanges = releasedAt + (kMinute - seconds);
    while (display(rig) == " 7:14 AM") rig.wait(1);
    EXPECT_GE(rig.now(), minuteChanges);
    EXPECT_LE(rig.now() - minuteChanges, 1000) << seconds;
    EXPECT_EQ(display(rig), " 7:15 AM");
  }
}

TEST_F(Clock, AnotherMouseButtonWorksTheClockWithoutThePressedLook) {
  rig.timeOfDay().setLocalAtZero(at(18, 3));
  pressTime(rig, MouseButton::Right);
  EXPECT_TRUE(rig.lit(E::Puls_Time));
  EXPECT_EQ(display(rig), "12:00 PM");
  // Released away from the button, without capture: the alarm view stays.
  releaseTime(rig, MouseButton::Right, 40);
  rig.wait(2000);
  EXPECT_EQ(display(rig), "12:00 PM");
  EXPECT_TRUE(rig.lit(E::Im_Pippet1));
  // A left press holds the mouse: its release away from the button still counts.
  pressTime(rig);
  releaseTime(rig, MouseButton::Left, 40);
  rig.wait(1);
  EXPECT_TRUE(rig.lit(E::Puls_Time));
  EXPECT_EQ(display(rig), " 6:03 PM");
}

TEST_F(Clock, DuringAGameTimeOnlyShowsThePress) {
  rig.click(E::Puls_GameA);
  rig.wait(3000);
  const std::string score = display(rig);
  const auto vars = h.variables();
  pressTime(rig);
  EXPECT_FALSE(rig.lit(E::Puls_Time));
  EXPECT_FALSE(rig.lit(E::Im_Pippet1));
  releaseTime(rig);
  EXPECT_TRUE(rig.lit(E::Puls_Time));
  EXPECT_EQ(display(rig), score);
  EXPECT_EQ(inside.vars.GameMode, vars.GameMode);
  EXPECT_TRUE(inside.vars.GameRunning);
  EXPECT_TRUE(h.timerState(TimerId::TimerGioco).enabled());
  EXPECT_FALSE(h.timerState(TimerId::TimerClock).enabled());
}

TEST_F(Clock, AfterAGameOverTimeStopsTheSleepAndShowsTheAlarmThenTheTime) {
  rig.timeOfDay().setLocalAtZero(at(0, 30));
  rig.click(E::Puls_GameB);
  for (int s = 0; s < 600 && inside.vars.GameRunning; ++s) rig.wait(1000);
  ASSERT_FALSE(inside.vars.GameRunning);
  rig.wait(2000);
  ASSERT_TRUE(h.timerState(TimerId::TimerZZZ).enabled());
  pressTime(rig);
  EXPECT_FALSE(h.timerState(TimerId::TimerZZZ).enabled());
  EXPECT_FALSE(rig.lit(E::Im_CrashSleep) || rig.lit(E::Im_CrashZ1) || rig.lit(E::Im_GameB));
  EXPECT_EQ(display(rig), "12:00 PM");
  EXPECT_TRUE(rig.lit(E::Im_Pippet1));
  releaseTime(rig);
  rig.wait(1);
  const auto minute = static_cast<int>(30 + rig.now() / kMinute);
  ASSERT_LT(minute, 60);
  EXPECT_EQ(display(rig), "12:" + std::to_string(minute) + " AM");
  EXPECT_EQ(inside.vars.GameMode, GameModeValue::Clock);
}

TEST_F(Clock, TheGameButtonsAndACLStopTheClock) {
  showTimeAt(at(8, 0));
  rig.click(E::Puls_ACL);
  EXPECT_FALSE(h.timerState(TimerId::TimerClock).enabled());
  showTimeAt(at(8, 1));
  const auto& a = elementInfo(E::Puls_GameA);
  h.mousePress(a.left + 1, a.top + 1, MouseButton::Left);
  EXPECT_FALSE(h.timerState(TimerId::TimerClock).enabled());
}

TEST(Alarm, TheAlarmButtonIsDeadWithAHintAndTheHelpPointer) {
  Rig rig;
  rig.handheld.start();
  const auto& alarm = elementInfo(E::Puls_Alarm);
  std::vector<bool> before;
  for (const auto& e : kElements) before.push_back(rig.lit(e.id));
  rig.handheld.mousePress(alarm.left + 5, alarm.top + 5, MouseButton::Left);
  rig.handheld.mouseRelease(alarm.left + 5, alarm.top + 5, MouseButton::Left);
  for (const auto& e : kElements) EXPECT_EQ(rig.lit(e.id), before[indexOf(e.id)]) << e.name;
  const auto hint = std::find_if(kButtonHints.begin(), kButtonHints.end(),
                                 [](const ButtonHint& b) { return b.id == E::Puls_Alarm; });
  ASSERT_NE(hint, kButtonHints.end());
  EXPECT_EQ(hint->hint, "Button disabled");
  EXPECT_EQ(hint->pointer, PointerShape::Help);
}

}  // namespace
}  // namespace wuffel
