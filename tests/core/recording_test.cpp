#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "bot_player.h"
#include "frontend/recording_file.h"
#include "sim/runner.h"
#include "sim/verify.h"

namespace wuffel {
namespace {

struct Verified {
  int status;
  std::string out;
  std::string errors;
};

Verified verify(const std::string& text) {
  std::ostringstream out, errors;
  const int status = sim::verifyRecording(text, out, errors, "the recording");
  return {status, out.str(), errors.str()};
}

std::vector<Recording> recordingsOf(const std::string& script) {
  std::vector<Recording> recorded;
  std::istringstream in(script);
  std::ostringstream trace, errors;
  sim::runScript(in, trace, errors, "the script", [&](const Recording& r) { recorded.push_back(r); });
  return recorded;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A real game, played well to its game over.
const Recording& playedGame() {
  static const Recording game = [] {
    testing::BotGame bot(10 * 3600000 + 14, 9);
    bot.play(30 * 60000);
    return bot.recordings.at(0);
  }();
  return game;
}

TEST(Recording, EveryGameOfTheGoldenScenariosPlaysAgainToItsEnd) {
  int games = 0;
  for (const auto& entry : std::filesystem::directory_iterator("web/tests/scenarios")) {
    for (const Recording& r : recordingsOf(readFile(entry.path()))) {
      ++games;
      const auto v = verify(r.text);
      EXPECT_EQ(v.status, 0) << entry.path() << "\n" << v.out << v.errors << r.text;
      EXPECT_EQ(v.out, "verified A " + std::to_string(r.score) + "\n");
    }
  }
  EXPECT_GE(games, 3);
}

TEST(Recording, AGamePlayedWellVerifiesWithItsScoreAndARecordingOfItsRecordingIsTheSame) {
  const Recording& game = playedGame();
  ASSERT_GT(game.score, 20);
  EXPECT_EQ(verify(game.text).out, "verified A " + std::to_string(game.score) + "\n");
  const auto again = recordingsOf(game.text);
  ASSERT_EQ(again.size(), 1u);
  // The runner names itself where the game's program was named, and its own day.
  const auto played = [](const std::string& text) {
    return std::regex_replace(text, std::regex("# (release|played) .*\n"), "");
  };
  EXPECT_EQ(played(again[0].text), played(game.text));
}

// A machine that stalls now and then skips the ticks it missed; the
// recording says where, and plays again exactly.
TEST(Recording, AGameOnAClockThatStallsVerifiesWithTheTicksItSkipped) {
  testing::BotGame bot(10 * 3600000 + 14, 9, 20000);
  bot.play(5 * 60000);
  ASSERT_EQ(bot.recordings.size(), 1u);
  const std::string& text = bot.recordings[0].text;
  EXPECT_NE(text.find("\nskip-ticks TimerGioco "), std::string::npos);
  EXPECT_EQ(verify(text).out, "verified A " + std::to_string(bot.recordings[0].score) + "\n");
  std::string without;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("skip-ticks", 0) != 0) without += line + "\n";
  EXPECT_EQ(verify(without).status, 1) << "without the skips, the replay plays the ticks the stalls missed";
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The n-th line starting with `prefix`, with its line end.
std::string nthLine(const std::string& text, const std::string& prefix, int n) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0 && n-- == 0) return line + "\n";
  return {};
}

TEST(Recording, ATamperedRecordingNeverVerifies) {
  const std::string& text = playedGame().text;
  const std::string swing = nthLine(text, "keydown 17", 5);
  ASSERT_FALSE(swing.empty());
  const std::string time = nthLine(text, "at ", 40);
  const std::vector<std::pair<std::string, std::string>> tampered{
      {"a swing removed", replaced(text, swing, "")},
      {"a swing added", replaced(text, time, time + "keydown 17\nkeyup 17\n")},
      {"the start moved", replaced(text, "at 600\nrelease", "at 700\nrelease")},
      {"another UTC time", replaced(text, "utc 10:00:00.014", "utc 10:00:00.015")},
      {"another score expected", replaced(text, "expect score ", "expect score 1")},
  };
  for (const auto& [what, changed] : tampered) {
    const auto v = verify(changed);
    EXPECT_EQ(v.status, 1) << what << ": " << v.out << v.errors;
    EXPECT_EQ(v.out.rfind("diverged: ", 0), 0u) << what << ": " << v.out;
  }
  const auto otherRules = verify(std::regex_replace(text, std::regex("# rules [0-9a-f]+"), "# rules 0123456789abcdef"));
  EXPECT_EQ(otherRules.status, 2);
  EXPECT_NE(otherRules.errors.find("0123456789abcdef"), std::string::npos) << otherRules.errors;
}

TEST(Recording, WhatIsNotARecordingIsRefusedAsSuch) {
  EXPECT_EQ(verify("start\nat 1000\n").status, 2);
  EXPECT_EQ(verify("").status, 2);
  const std::string header = nthLine(playedGame().text, "# rules", 0);
  const auto noEnd = verify("# wuffel-recording 1\n" + header + "start\n");
  EXPECT_EQ(noEnd.status, 2);
  EXPECT_NE(noEnd.errors.find("expect"), std::string::npos);
  const auto malformed = verify("# wuffel-recording 1\n" + header + "start\nexpect score many\n");
  EXPECT_EQ(malformed.status, 2);
  EXPECT_NE(malformed.errors.find("line 4: expected: expect score N"), std::string::npos) << malformed.errors;
}

TEST(RecordingFile, TheHeaderNamesTheGameAndTheFileItsStart) {
  const auto header =
      readRecordingHeader("# wuffel-recording 1\n# release 1.00a\n# rules 00ff\n# game B\n# played X\n# from 1250\nstart\n");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->from, 1250);
  EXPECT_FALSE(readRecordingHeader("# wuffel-recording 1\n# rules 00ff\n# from soon\n"));
  EXPECT_EQ(header->game, 'B');
  EXPECT_EQ(header->rules, "00ff");
  EXPECT_EQ(header->release, "1.00a");
  EXPECT_FALSE(readRecordingHeader("# wuffel-recording 2\n# rules 00ff\n"));
  EXPECT_FALSE(readRecordingHeader("# wuffel-recording 1\n# game C\n# rules 00ff\n"));
  EXPECT_EQ(recordingFileName(2026, 12, 10, (9 * 3600 + 41 * 60 + 7) * 1000LL + 999, 'A'), "20261210-094107-A.wuffel");
  EXPECT_EQ(numberedFileName("20261210-094107-A.wuffel", 2), "20261210-094107-A-2.wuffel");
  EXPECT_EQ(bestRecordingFileName('B'), "best-B.wuffel");
}

}  // namespace
}  // namespace wuffel
