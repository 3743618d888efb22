#include <gtest/gtest.h>

#include <regex>

#include "bot_player.h"
#include "frontend/game_state.h"
#include "frontend/watching.h"
#include "sim/replay.h"

namespace wuffel {
namespace {

const Recording& playedGame() {
  static const Recording game = [] {
    testing::BotGame bot(10 * 3600000 + 14, 9);
    bot.play(20 * 60000);
    return bot.recordings.at(0);
  }();
  return game;
}

std::string expectedDigest(const std::string& text) {
  std::smatch m;
  return std::regex_search(text, m, std::regex("expect digest ([0-9a-f]+)")) ? m[1].str() : std::string();
}

std::unique_ptr<sim::Replay> opened(const std::string& text) {
  auto replay = sim::Replay::open(text, nullptr);
  if (auto* why = std::get_if<std::string>(&replay)) ADD_FAILURE() << *why;
  return std::get_if<std::unique_ptr<sim::Replay>>(&replay) ? std::move(std::get<0>(replay)) : nullptr;
}

// Watched a frame at a time, the game comes out as it was played: its
// score and the digest of its state at the end, and the last face stays.
TEST(Replay, WatchedInFramesTheGameEndsAsItWasPlayed) {
  const Recording& game = playedGame();
  auto replay = opened(game.text);
  ASSERT_TRUE(replay);
  EXPECT_EQ(replay->game(), 'A');
  EXPECT_EQ(replay->gameTime(), 0) << "it opens at the game's start";
  EXPECT_TRUE(replay->handheld().variables().GameRunning);
  std::int64_t frames = 0;
  while (replay->play(frames % 3 == 0 ? 16 : 7)) ++frames;
  EXPECT_GT(frames, 1000);
  EXPECT_TRUE(replay->ended());
  EXPECT_EQ(replay->handheld().variables().Score, game.score);
  EXPECT_EQ(gameStateDigest(replay->handheld()), expectedDigest(game.text));
  const std::string lastFace = gameStateDigest(replay->handheld());
  EXPECT_FALSE(replay->play(60000));
  EXPECT_EQ(gameStateDigest(replay->handheld()), lastFace) << "nothing moves after the recording's end";
}

TEST(Replay, WhatCannotBeWatchedIsSaidInWords) {
  const auto refusal = [](const std::string& text) {
    auto replay = sim::Replay::open(text, nullptr);
    const auto* why = std::get_if<std::string>(&replay);
    return why ? *why : std::string("(it opened)");
  };
  EXPECT_EQ(refusal("start\nat 100\n"), "This file is not a recording of a game.");
  EXPECT_EQ(refusal(""), "This file is not a recording of a game.");
  const std::string other =
      refusal(std::regex_replace(playedGame().text, std::regex("# rules [0-9a-f]+"), "# rules 0123456789abcdef"));
  EXPECT_NE(other.find("0123456789abcdef"), std::string::npos) << other;
  const std::string& text = playedGame().text;
  const std::string rules = text.substr(0, text.find("start\n"));
  EXPECT_EQ(refusal(rules + "start\nat soon\n"), "This recording cannot be read: line 14: expected: at MS, not 'soon'.");
  EXPECT_EQ(refusal(rules), "This recording has no game in it.");
}

TEST(Replay, ThePaceDoublesUpToEightTimesAndAPauseHoldsIt) {
  ReplayPace pace;
  EXPECT_EQ(pace.gameMsOf(10), 10);
  for (int i = 0; i < 5; ++i) pace.apply(ReplayKey::Faster);
  EXPECT_EQ(pace.pace(), ReplayPace::kFastest);
  pace.apply(ReplayKey::Pause);
  EXPECT_EQ(pace.gameMsOf(10), 0);
  pace.apply(ReplayKey::Pause);
  EXPECT_EQ(pace.gameMsOf(10), 80);
  for (int i = 0; i < 5; ++i) pace.apply(ReplayKey::Slower);
  EXPECT_EQ(pace.pace(), 1);
  EXPECT_EQ(watchCommandForKey("F6"), WatchCommand::BestGameA);
  EXPECT_EQ(watchCommandForKey("Ctrl+S"), WatchCommand::SaveLastGame);
  EXPECT_FALSE(watchCommandForKey("S"));
}

}  // namespace
}  // namespace wuffel
