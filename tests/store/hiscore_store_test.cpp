#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rig.h"
#include "error_of.h"
#include "store/hiscore_store.h"

namespace wuffel {
namespace {

using testing::errorOf;
using testing::Rig;

TEST(StoredInteger, ReadsDecimalAndBothHexForms) {
  EXPECT_EQ(parseStoredInteger("250"), 250);
  EXPECT_EQ(parseStoredInteger("   42"), 42);
  EXPECT_EQ(parseStoredInteger("-17"), -17);
  EXPECT_EQ(parseStoredInteger("+9"), 9);
  EXPECT_EQ(parseStoredInteger("0007"), 7);
  EXPECT_EQ(parseStoredInteger("$ff"), 255);
  EXPECT_EQ(parseStoredInteger("0x1A"), 26);
  EXPECT_EQ(parseStoredInteger("0XfF"), 255);
  EXPECT_EQ(parseStoredInteger("-$10"), -16);
  EXPECT_EQ(parseStoredInteger(" -0x10"), -16);
  // a lone "0" before "x" needs digits after it
  EXPECT_EQ(parseStoredInteger("0"), 0);
}

TEST(StoredInteger, AnythingElseIsNoNumber) {
  for (const char* text : {"", " ", "-", "+", "$", "0x", "12abc", "12 ", "1 2", "\t5", "5\t", "--5", "+-5", "$-5",
                           "0x-5", "1.5", "1e3", "$g", "0xfg", "١٢"})
    EXPECT_FALSE(parseStoredInteger(text).has_value()) << '"' << text << '"';
}

TEST(StoredInteger, KeepsToThirtyTwoBits) {
  EXPECT_EQ(parseStoredInteger("2147483647"), 2147483647);
  EXPECT_EQ(parseStoredInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(parseStoredInteger("$7FFFFFFF"), 2147483647);
  EXPECT_EQ(parseStoredInteger("-$80000000"), INT32_MIN);
  for (const char* text : {"2147483648", "-2147483649", "$80000000", "0xFFFFFFFF", "99999999999999999999999",
                           "0x100000000000000000"})
    EXPECT_FALSE(parseStoredInteger(text).has_value()) << text;
}

struct Store : ::testing::Test {
  MemorySettings settings;
  HiScoreStore store{settings, kHiScoreKey};
};

TEST_F(Store, MissingOrUnreadableTextGivesTheDefault) {
  EXPECT_EQ(store.readInteger("HiscoreA", 0), 0);
  EXPECT_EQ(store.readInteger("HiscoreA", 31), 31);
  for (const char* text : {"", "12abc", "lots", "4294967296"}) {
    settings.put("HiscoreA", true, text);
    EXPECT_EQ(store.readInteger("HiscoreA", 5), 5) << text;
  }
  settings.put("HiscoreA", true, std::string("77\0junk", 7));
  EXPECT_EQ(store.readInteger("HiscoreA", 0), 77);  // cut at the first zero byte
  settings.put("HiscoreA", true, "  $1F4");
  EXPECT_EQ(store.readInteger("HiscoreA", 0), 500);
  // read as stored, not limited to the scores the display can show
  settings.put("HiscoreA", true, "-12345");
  EXPECT_EQ(store.readInteger("HiscoreA", 0), -12345);
}

TEST_F(Store, NamesCompareWithoutCaseAndAWriteReplacesTheValue) {
  settings.put("HISCOREA", true, "250");
  EXPECT_EQ(store.readInteger("HiscoreA", 0), 250);
  store.writeInteger("HiScoreA", 130);
  ASSERT_EQ(settings.values().size(), 1u);
  EXPECT_EQ(settings.values()[0].text, "130");
  EXPECT_EQ(store.readInteger("hiscorea", 0), 130);
  store.writeInteger("HiScoreB", -4);
  EXPECT_EQ(settings.values().size(), 2u);
  EXPECT_EQ(store.readInteger("HiscoreB", 0), -4);
  EXPECT_EQ(store.readInteger("HiscoreA", 0), 130);
}

TEST_F(Store, ErrorsNameTheValue) {
  settings.put("hiscorea", false, "5");
  EXPECT_EQ(errorOf([&] { store.readInteger("HiscoreA", 0); }), "Invalid data type for 'HiscoreA'");
  settings.refusesWrites = true;
  EXPECT_EQ(errorOf([&] { store.writeInteger("HiScoreB", 7); }), "Failed to set data for 'HiScoreB'");
  EXPECT_EQ(store.readInteger("HiscoreB", 0), 0);

  struct Failing : MemorySettings {
    bool ensureKey() override { return false; }
  } failing;
  HiScoreStore broken(failing, kHiScoreKey);
  EXPECT_EQ(errorOf([&] { broken.writeInteger("HiScoreA", 1); }), "Failed to create key ");
  EXPECT_TRUE(failing.values().empty());
}

// Another running copy of the program may have stored a higher best.
TEST_F(Store, AGameOverKeepsAHigherStoredBestAndTellsOnlyOfWrites) {
  struct Recorder : StoreObserver {
    void storeRead(std::string_view name, std::int32_t v) override { lines.push_back("read " + std::string(name) + " " + std::to_string(v)); }
    void storeWritten(std::string_view name, std::int32_t v) override { lines.push_back("write " + std::string(name) + " " + std::to_string(v)); }
    std::vector<std::string> lines;
  } recorder;
  HiScoreStore observed(settings, kHiScoreKey, &recorder);
  settings.put("hiscorea", true, "500");
  observed.raiseInteger("HiScoreA", 300);
  observed.raiseInteger("HiScoreA", 500);
  EXPECT_EQ(settings.values()[0].text, "500");
  observed.raiseInteger("HiScoreA", 501);
  ASSERT_EQ(settings.values().size(), 1u);
  EXPECT_EQ(settings.values()[0].name, "hiscorea");
  EXPECT_EQ(settings.values()[0].text, "501");
  EXPECT_EQ(recorder.lines, std::vector<std::string>{"write HiScoreA 501"});

  // Anything but a number gives way, as does no value at all.
  for (const auto& [isText, text] : std::vector<std::pair<bool, std::string>>{{true, "lots"}, {true, ""}, {false, "900"}}) {
    settings.put("HiScoreB", isText, text);
    observed.raiseInteger("HiScoreB", 40);
    EXPECT_EQ(settings.values()[1].text, "40") << text;
  }
  settings.put("HiScoreB", true, std::string("30\0" "99", 5));
  observed.raiseInteger("HiScoreB", 40);
  EXPECT_EQ(settings.values()[1].text, "40");
  MemorySettings empty;
  HiScoreStore(empty, kHiScoreKey).raiseInteger("HiScoreA", 0);
  EXPECT_EQ(empty.values().size(), 1u);

  // A store that refuses writes refuses this one too, whatever it would do.
  settings.refusesWrites = true;
  EXPECT_EQ(errorOf([&] { store.raiseInteger("HiScoreA", 1); }), "Failed to set data for 'HiScoreA'");
}

TEST(StoreAtStartUp, ReadsBothBestScoresAndWritesNothing) {
  Rig rig;
  rig.settings.put("HISCOREA", true, "250");
  rig.settings.put("hiscoreb", true, "0x20");
  rig.handheld.start();
  EXPECT_EQ(rig.handheld.variables().HiScoreA, 250);
  EXPECT_EQ(rig.handheld.variables().HiScoreB, 32);
  EXPECT_EQ(rig.settings.values().size(), 2u);
  EXPECT_TRUE(rig.errors().empty());
  EXPECT_EQ(rig.handheld.variables().GameMode, GameModeValue::AllLit);
}

TEST(StoreAtStartUp, AValueOfAnotherTypeEndsFormCreateBeforeTheSoundChannels) {
  Rig rig;
  rig.settings.put("HiScoreA", false, "1");
  rig.settings.put("HiscoreB", true, "40");
  rig.handheld.start();
  // no "." after a quote, which sorts before it
  EXPECT_EQ(rig.errors(), std::vector<std::string>{"Invalid data type for 'HiscoreA'"});
  EXPECT_EQ(rig.handheld.variables().HiScoreB, 0);  // never read
  for (int c = 0; c < kChannelCount; ++c) EXPECT_FALSE(rig.channels()[static_cast<ChannelId>(c)].isOpen());
  EXPECT_EQ(rig.handheld.variables().GameMode, GameModeValue::Clock);
  EXPECT_FALSE(rig.lit(ElementId::Im_Miss0));
  // start-up goes on with the other windows
  EXPECT_TRUE(rig.windows().isShown(WindowId::SplashForm));
}

}  // namespace
}  // namespace wuffel
