// The browser edition's C++ that runs without a browser: the page's
// timers, its windows, its input, its gamepads and its localStorage store.
#include <gtest/gtest.h>

#include <map>

#include "core/rig.h"
#include "platform/error.h"
#include "web/local_storage_settings.h"
#include "frontend/face_pointing.h"
#include "web/page_gamepads.h"
#include "web/page_input.h"
#include "web/page_windows.h"

namespace wuffel::web {
namespace {

using E = ElementId;

TEST(PageWindowsTest, TheHandheldShowsOncePlayPlacesItAndStaysWhereverItIsDragged) {
  std::vector<PageViews> views;
  PageWindows windows(1280, 720, nullptr, [&](const PageViews& v) { views.push_back(v); }, [](int, int) {});
  windows.show(WindowId::SplashForm);
  windows.show(WindowId::Form1);  // created off the screen
  windows.activate(WindowId::Form1);
  windows.bringToFront(WindowId::SplashForm);
  ASSERT_FALSE(views.empty());
  EXPECT_EQ(views.back(), (PageViews{true, false, false}));
  EXPECT_FALSE(windows.isActive(WindowId::Form1));
  windows.moveTo(WindowId::Form1, {313, 163});
  windows.hide(WindowId::SplashForm);
  EXPECT_EQ(views.back(), (PageViews{false, true, false}));
  EXPECT_TRUE(windows.isActive(WindowId::Form1));  // the keyboard comes back to the handheld
  windows.moveTo(WindowId::Form1, {-5000, -5000});
  EXPECT_EQ(views.back(), (PageViews{false, true, false}));
}

// ---- Input ----

struct Touch : ::testing::Test {
  Touch() {
    rig.handheld.start();
    rig.handheld.splashPlay();
  }
  static std::pair<int, int> centre(E id) {
    const auto& e = elementInfo(id);
    return {e.left + e.width / 2, e.top + e.height / 2};
  }
  testing::Rig rig;
  int activations = 0;
  int armedFor = -1;
  int cancels = 0;
  // A replay on the page, shown or not.
  struct Replay : ReplayInput {
    bool active() const override { return shown; }
    bool pressTaken(int, int) override { return shown; }
    bool releaseTaken() override { return shown; }
    bool shown = false;
  } replay;
  PageInput input{rig.handheld, replay, {[this] { ++activations; }, [this](int id) { armedFor = id; }, [this] { ++cancels; }}};
};

TEST_F(Touch, WhileAReplayShowsTheHandheldFeelsNoTouchAndNoClick) {
  replay.shown = true;
  auto [x, y] = centre(E::Puls_GameA);
  input.touchStart(1, x, y);
  input.touchEnd(1, x, y);
  input.mouseDown(x, y, MouseButton::Left);
  input.mouseUp(x, y, MouseButton::Left);
  EXPECT_FALSE(rig.handheld.variables().GameRunning);
  EXPECT_EQ(activations, 0);
  replay.shown = false;
  input.mouseDown(x, y, MouseButton::Left);
  input.mouseUp(x, y, MouseButton::Left);
  EXPECT_TRUE(rig.handheld.variables().GameRunning);
}

TEST_F(Touch, HitUpAndDownHoldTheirKeysWithTheirPressedPictures) {
  rig.click(E::Puls_GameA);
  const auto lane = rig.handheld.variables().PlayerLane;
  auto [x, y] = centre(E::Puls_Up);
  input.touchStart(7, x, y);
  EXPECT_FALSE(rig.lit(E::Puls_Up));
  EXPECT_EQ(rig.handheld.variables().PlayerLane, lane - 1);
  input.touchEnd(7, x, y);
  EXPECT_TRUE(rig.lit(E::Puls_Up));
  std::tie(x, y) = centre(E::Puls_Hit);
  input.touchStart(8, x, y);
  EXPECT_FALSE(rig.lit(E::Puls_Hit));
  input.touchEnd(8, x, y);
  EXPECT_TRUE(rig.lit(E::Puls_Hit));
  EXPECT_EQ(activations, 2);
  EXPECT_EQ(armedFor, -1);
}

TEST_F(Touch, WithModernKeysEachFingerHoldsItsOwnControlAndWhilePausedATapResumes) {
  rig.handheld.changeSetting(Setting::Keys, static_cast<int>(KeyMode::Modern));
  rig.click(E::Puls_GameA);
  const auto lane = rig.handheld.variables().PlayerLane;
  const auto [ux, uy] = centre(E::Puls_Up);
  const auto [dx, dy] = centre(E::Puls_Down);
  input.touchStart(1, ux, uy);
  EXPECT_EQ(rig.handheld.variables().PlayerLane, lane - 1);
  // No latch: DOWN acts while UP is still held.
  input.touchStart(2, dx, dy);
  EXPECT_EQ(rig.handheld.variables().PlayerLane, lane);
  input.touchEnd(1, ux, uy);
  EXPECT_TRUE(rig.lit(E::Puls_Up));
  EXPECT_FALSE(rig.lit(E::Puls_Down));
  input.touchEnd(2, dx, dy);
  EXPECT_TRUE(rig.lit(E::Puls_Down));

  rig.handheld.keyDown(VirtualKey::P);
  rig.handheld.keyUp(VirtualKey::P);
  ASSERT_TRUE(rig.handheld.paused());
  const auto [hx, hy] = centre(E::Puls_Hit);
  input.touchStart(3, hx, hy);
  EXPECT_FALSE(rig.handheld.paused());
  EXPECT_TRUE(rig.lit(E::Puls_Hit)) << "the tap that resumes does not swing";
  input.touchEnd(3, hx, hy);
  input.touchStart(4, hx, hy);
  EXPECT_FALSE(rig.lit(E::Puls_Hit));
  input.touchEnd(4, hx, hy);
}

TEST_F(Touch, OtherButtonsAnswerAsTheLeftMouseButtonOneTouchAtATime) {
  auto [x, y] = centre(E::Puls_GameB);
  input.touchStart(1, x, y);
  EXPECT_FALSE(rig.lit(E::Puls_GameB));
  const auto [ax, ay] = centre(E::Puls_GameA);
  input.touchStart(2, ax, ay);  // a second finger is no second mouse
  EXPECT_TRUE(rig.lit(E::Puls_GameA));
  input.touchEnd(2, ax, ay);
  input.touchEnd(1, x, y);
  EXPECT_TRUE(rig.lit(E::Puls_GameB));
  EXPECT_EQ(rig.handheld.variables().GameMode, GameModeValue::GameB);
  EXPECT_TRUE(rig.windows().popups.empty());
}

TEST_F(Touch, AFingerBesideASmallButtonPressesItWithinAFingersAreaAndOnlyThere) {
  const auto& gameA = elementInfo(E::Puls_GameA);
  const int x = gameA.left + 2;
  const int above = gameA.top - 8;  // on the case, eight face pixels above GAME A
  input.touchStart(1, x, above);
  EXPECT_TRUE(rig.lit(E::Puls_GameA)) << "with no touch area, only the button's place";
  EXPECT_EQ(armedFor, 1);
  input.touchEnd(1, x, above);

  input.setTouchSide(40);
  input.touchStart(2, x, above);
  EXPECT_FALSE(rig.lit(E::Puls_GameA));
  input.touchMove(2, x + 3, above);
  input.touchEnd(2, x + 3, above);
  EXPECT_TRUE(rig.handheld.variables().GameRunning);
  EXPECT_EQ(rig.handheld.variables().GameMode, GameModeValue::GameA);
  EXPECT_EQ(armedFor, 1) << "a button's touch is no long press";

  // UP's area reaches past its place too, and holds its key as UP does.
  const auto& up = elementInfo(E::Puls_Up);
  const auto lane = rig.handheld.variables().PlayerLane;
  input.touchStart(3, up.left - 1, up.top + up.height / 2);
  EXPECT_EQ(rig.handheld.variables().PlayerLane, lane - 1);
  input.touchEnd(3, up.left - 1, up.top + up.height / 2);
  EXPECT_TRUE(rig.lit(E::Puls_Up));

  // Farther off, the case is the case; between two areas the nearer button wins.
  input.touchStart(4, x, gameA.top - 30);
  EXPECT_TRUE(rig.lit(E::Puls_GameA));
  EXPECT_EQ(armedFor, 4);
  input.touchEnd(4, x, gameA.top - 30);
  const auto& gameB = elementInfo(E::Puls_GameB);
  EXPECT_EQ(buttonForTouch(rig.handheld.faceState(), x, gameB.top - 3, 90), E::Puls_GameB);
  EXPECT_EQ(buttonForTouch(rig.handheld.faceState(), x, gameA.top + gameA.height + 3, 90), E::Puls_GameA);
}

TEST_F(Touch, ALongPressOnTheFaceOpensTheMenuAndAMovingOneDoesNot) {
  input.touchStart(3, 300, 200);
  EXPECT_EQ(armedFor, 3);
  input.longPressDue(3);
  ASSERT_EQ(rig.windows().popups.size(), 1u);
  EXPECT_EQ(rig.windows().popups[0].left, 300);
  input.touchEnd(3, 300, 200);
  input.touchStart(4, 300, 200);
  input.touchMove(4, 320, 200);
  EXPECT_EQ(cancels, 1);
  input.longPressDue(4);
  input.touchEnd(4, 320, 200);
  EXPECT_EQ(rig.windows().popups.size(), 1u);
}

// ---- Gamepads, by the Gamepad API's standard layout ----

TEST(PageGamepadsTest, StartBackTheDPadAndTheStickPlayEachPadOnItsOwnAndAnUnpluggedPadLetsGo) {
  testing::Rig rig;
  PageGamepads pads(rig.handheld);
  rig.handheld.changeSetting(Setting::Keys, static_cast<int>(KeyMode::Modern));
  pads.button(0, 8, true);  // Back
  pads.button(0, 8, false);
  EXPECT_EQ(rig.handheld.variables().GameMode, GameModeValue::GameB);
  pads.button(0, 9, true);  // Start
  EXPECT_FALSE(rig.lit(E::Puls_GameA));
  pads.button(0, 9, false);
  ASSERT_TRUE(rig.handheld.variables().GameRunning);
  const auto lane = rig.handheld.variables().PlayerLane;
  pads.button(0, 12, true);  // the d-pad up
  EXPECT_EQ(rig.handheld.variables().PlayerLane, lane - 1);
  pads.button(0, 12, false);
  pads.stick(1, 0.6);  // a second pad's stick past half its throw, down
  pads.stick(1, 0.3);  // still held above a quarter
  EXPECT_EQ(rig.handheld.variables().PlayerLane, lane);
  EXPECT_FALSE(rig.lit(E::Puls_Down));
  pads.stick(1, 0.2);
  EXPECT_TRUE(rig.lit(E::Puls_Down));
  pads.button(0, 16, true);  // the home button plays nothing
  EXPECT_TRUE(rig.lit(E::Puls_Hit));
  pads.button(1, 3, true);  // a face button swings, and holds while the other pad's does too
  pads.button(0, 0, true);
  pads.button(1, 3, false);
  EXPECT_FALSE(rig.lit(E::Puls_Hit));
  pads.unplugged(0);
  EXPECT_TRUE(rig.lit(E::Puls_Hit));
}

// ---- localStorage ----

struct FakeStorage : KeyValueStorage {
  std::vector<std::string> keys() const override {
    std::vector<std::string> k;
    for (const auto& [key, value] : items) k.push_back(key);
    return k;
  }
  std::optional<std::string> get(const std::string& key) const override {
    const auto it = items.find(key);
    return it == items.end() ? std::nullopt : std::optional(it->second);
  }
  bool set(const std::string& key, const std::string& value) override {
    if (refuses) return false;
    items[key] = value;
    return true;
  }
  std::map<std::string, std::string> items;
  bool refuses = false;
};

TEST(LocalStorage, ValuesLiveUnderTheKeysLastNameAndCompareWithoutCase) {
  FakeStorage storage;
  storage.items = {{"WuffelTennis/HISCOREA", "0x1F"}, {"Other/HiScoreB", "5"}, {"WuffelTennisHiScoreB", "6"}};
  LocalStorageSettings settings(storage);
  HiScoreStore store(settings, kHiScoreKey);
  EXPECT_EQ(settings.prefix(), "WuffelTennis/");
  EXPECT_EQ(store.readInteger("HiscoreA", 0), 31);
  EXPECT_EQ(store.readInteger("HiscoreB", 4), 4);
  store.writeInteger("HiScoreA", 120);
  store.writeInteger("HiScoreB", 7);
  EXPECT_EQ(storage.items.at("WuffelTennis/HISCOREA"), "120");
  EXPECT_EQ(storage.items.at("WuffelTennis/HiScoreB"), "7");
  storage.refuses = true;
  try {
    store.writeInteger("HiScoreA", 1);
    FAIL() << "a refused write passed";
  } catch (const WuffelError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'HiScoreA'");
  }
  EXPECT_EQ(storage.items.at("WuffelTennis/HISCOREA"), "120");
}

}  // namespace
}  // namespace wuffel::web
