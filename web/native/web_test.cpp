// The browser edition's C++ that runs without a browser: the wave reader
// against the desktop's loader, the page's timers, its windows, its input
// and its localStorage store.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "core/rig.h"
#include "platform/error.h"
#include "sound/wave_file_loader.h"
#include "web/local_storage_settings.h"
#include "web/page_input.h"
#include "web/page_time.h"
#include "web/page_windows.h"
#include "web/pcm_wave.h"

namespace wuffel::web {
namespace {

namespace fs = std::filesystem;
using E = ElementId;

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A wave file of `frames` frames of a ramp, in the given encoding.
std::string waveFile(int tag, int bits, int channels, int rate, int frames, std::uint32_t claimedBytes = 0) {
  auto u32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto u16 = [](std::uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  const int block = channels * bits / 8;
  std::string data;
  for (int i = 0; i < frames * channels; ++i) {
    const double v = (i % 200 - 100) / 120.0;
    if (tag == 3) {
      const float f = static_cast<float>(v);
      data.append(reinterpret_cast<const char*>(&f), 4);
    } else if (bits == 8) {
      data += static_cast<char>(128 + static_cast<int>(v * 100));
    } else {
      const auto s = static_cast<std::int32_t>(v * 0x7fff) << (bits - 16);
      for (int b = 0; b < bits / 8; ++b) data += static_cast<char>(s >> (8 * b));
    }
  }
  const std::uint32_t size = claimedBytes ? claimedBytes : static_cast<std::uint32_t>(data.size());
  return "RIFF" + u32(36 + size) + "WAVEfmt " + u32(16) + u16(static_cast<std::uint16_t>(tag)) +
         u16(static_cast<std::uint16_t>(channels)) + u32(rate) + u32(rate * block) +
         u16(static_cast<std::uint16_t>(block)) + u16(static_cast<std::uint16_t>(bits)) + "data" + u32(size) + data;
}

struct Outcome {
  std::int64_t lengthMs = -1;
  int rate = 0;
  int channels = 0;
  std::string error;
};

Outcome desktop(const std::string& bytes) {
  try {
    const auto s = WaveFileLoader().loadBytes("T.WAV", bytes.data(), bytes.size());
    return {s->lengthMs, s->sampleRate, s->channels, {}};
  } catch (const WuffelError& e) {
    return {-1, 0, 0, e.what()};
  }
}

Outcome page(const std::string& bytes) {
  try {
    const auto s = readPcmWave("T.WAV", reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 48000, 2);
    return {s.lengthMs, s.sampleRate, s.channels, {}};
  } catch (const WuffelError& e) {
    return {-1, 0, 0, e.what()};
  }
}

// Every file the page plays lasts as long as on the desktop, to the
// millisecond; a file the desktop refuses the page refuses too.
TEST(PcmWave, LastsAsLongAsTheDesktopLoaderSaysOrIsRefusedLikeIt) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator("SOUND")) files[entry.path().string()] = bytesOf(entry.path());
  for (const auto& entry : fs::directory_iterator("tests/sound/regressions"))
    files[entry.path().string()] = bytesOf(entry.path());
  for (int bits : {8, 16, 24, 32})
    for (int channels : {1, 2}) files["pcm" + std::to_string(bits) + "x" + std::to_string(channels)] = waveFile(1, bits, channels, 11025, 4321);
  files["float"] = waveFile(3, 32, 1, 44100, 999);
  files["claims more than it holds"] = waveFile(1, 16, 1, 22050, 1000, 100000);
  files["one frame"] = waveFile(1, 16, 1, 8000, 1);
  files["no frame"] = waveFile(1, 16, 1, 8000, 0);
  files["zero rate"] = waveFile(1, 16, 1, 0, 10);
  files["empty"] = "";
  files["not a wave"] = "RIFX0000WAVEfmt ";
  int compared = 0;
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    const Outcome d = desktop(bytes);
    const Outcome p = page(bytes);
    if (d.error.empty()) {
      if (p.error.find("its sound encoding is not supported") != std::string::npos) continue;  // ADPCM and the like
      EXPECT_EQ(p.error, "");
      EXPECT_EQ(p.lengthMs, d.lengthMs);
      EXPECT_EQ(p.rate, d.rate);
      EXPECT_EQ(p.channels, d.channels);
      ++compared;
    } else {
      EXPECT_NE(p.error, "") << "the desktop says: " << d.error;
    }
  }
  EXPECT_GE(compared, 16);
  EXPECT_EQ(page("").error, "Cannot open sound file T.WAV: the file is empty");
  EXPECT_EQ(page(waveFile(1, 16, 1, 0, 10)).error, desktop(waveFile(1, 16, 1, 0, 10)).error);
}

TEST(PcmWave, DecodesEachEncodingToSixteenBits) {
  const auto pcm8 = readPcmWave("x", reinterpret_cast<const unsigned char*>(waveFile(1, 8, 1, 8000, 4).data()),
                                waveFile(1, 8, 1, 8000, 4).size(), 8000, 1);
  ASSERT_EQ(pcm8.samples.size(), 4u);
  EXPECT_EQ(pcm8.samples[0], (static_cast<int>(-100 / 120.0 * 100)) * 256);
  const std::string file24 = waveFile(1, 24, 2, 8000, 3);
  const std::string file16 = waveFile(1, 16, 2, 8000, 3);
  const auto pcm24 = readPcmWave("x", reinterpret_cast<const unsigned char*>(file24.data()), file24.size(), 8000, 1);
  const auto pcm16 = readPcmWave("x", reinterpret_cast<const unsigned char*>(file16.data()), file16.size(), 8000, 1);
  EXPECT_EQ(pcm24.samples, pcm16.samples);
}

// ---- The page's timers ----

struct Timers : ::testing::Test {
  PageClock clock;
  std::vector<std::optional<std::int64_t>> armed;
  PageScheduler scheduler{clock, 3, [this](auto due) { armed.push_back(due); }};
  std::vector<std::pair<std::int64_t, int>> fired;
  void runUntil(std::int64_t t) {
    scheduler.runUntil(t, [this](int i) { fired.emplace_back(clock.nowMs(), i); });
  }
};

TEST_F(Timers, TicksComeAtTheirDueTimeInCreationOrderAndTheWakeUpFollowsTheEarliest) {
  scheduler.start(2, 100);
  scheduler.start(0, 50);
  scheduler.start(1, 100);
  scheduler.rearm();
  scheduler.rearm();
  EXPECT_EQ(armed, (std::vector<std::optional<std::int64_t>>{50}));
  runUntil(100);
  EXPECT_EQ(fired, (std::vector<std::pair<std::int64_t, int>>{{50, 0}, {100, 0}, {100, 1}, {100, 2}}));
  EXPECT_EQ(clock.nowMs(), 100);
  scheduler.rearm();
  EXPECT_EQ(armed.back(), 150);
  scheduler.stop(0);
  scheduler.stop(1);
  scheduler.stop(2);
  scheduler.rearm();
  EXPECT_EQ(armed.back(), std::nullopt);
}

TEST_F(Timers, AFewMillisecondsLateEveryTickStillComesAtItsOwnMillisecond) {
  scheduler.start(0, 1);
  runUntil(4);
  EXPECT_EQ(fired, (std::vector<std::pair<std::int64_t, int>>{{1, 0}, {2, 0}, {3, 0}, {4, 0}}));
}

TEST_F(Timers, ALateWakeFiresEachTimerOnceAndKeepsItsBeat) {
  scheduler.start(0, 220);
  runUntil(1000);  // the page slept through three ticks
  EXPECT_EQ(fired, (std::vector<std::pair<std::int64_t, int>>{{220, 0}}));
  EXPECT_EQ(scheduler.nextDue(), 1100);
  runUntil(1100);
  EXPECT_EQ(fired.back(), (std::pair<std::int64_t, int>{1100, 0}));
  // An input that came late is still handled after the tick before it.
  clock.moveTo(900);
  EXPECT_EQ(clock.nowMs(), 1100);
}

// ---- The windows as page parts ----

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
  PageInput input{rig.handheld, {[this] { ++activations; }, [this](int id) { armedFor = id; }, [this] { ++cancels; }}};
};

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
  EXPECT_EQ(rig.handheld.variables().GameMode, static_cast<int>(GameModeValue::GameB));
  EXPECT_TRUE(rig.windows().popups.empty());
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
  store.writeInteger("", "HiScoreA", 120);
  store.writeInteger("", "HiScoreB", 7);
  EXPECT_EQ(storage.items.at("WuffelTennis/HISCOREA"), "120");
  EXPECT_EQ(storage.items.at("WuffelTennis/HiScoreB"), "7");
  storage.refuses = true;
  try {
    store.writeInteger("", "HiScoreA", 1);
    FAIL() << "a refused write passed";
  } catch (const WuffelError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'HiScoreA'");
  }
  EXPECT_EQ(storage.items.at("WuffelTennis/HISCOREA"), "120");
}

}  // namespace
}  // namespace wuffel::web
