#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "bot_player.h"
#include "frontend/announcer.h"
#include "rig.h"

namespace wuffel {
namespace {

using Said = std::vector<std::pair<std::int64_t, std::string>>;

// An announcer on a bot's game, keeping what it said and when.
struct HeardGame {
  // A bot that plays well until `swingsUntilMs`, and then lets every ball by.
  explicit HeardGame(std::int64_t swingsUntilMs) : bot(10 * 3600000 + 14, 1'000'000) {
    bot.observe(&announcer);
    bot.play(30 * 60'000, swingsUntilMs);
  }
  std::vector<std::string> sentences() const {
    std::vector<std::string> texts;
    for (const auto& [at, text] : said) texts.push_back(text);
    return texts;
  }
  testing::BotGame bot;
  Said said;
  Announcer announcer{[this] { return bot.now(); }, [this](const std::string& s) { said.emplace_back(bot.now(), s); }};
};

bool isScore(const std::string& text) { return text.rfind("Score ", 0) == 0; }

TEST(Announcer, TellsAGameFromItsHitsToItsEndWithTheScoreAtMostOnceASecond) {
  HeardGame game(60'000);
  const auto texts = game.sentences();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), gameOverSentence(game.bot.score(), true));

  std::vector<std::string> misses;
  std::copy_if(texts.begin(), texts.end(), std::back_inserter(misses),
               [](const std::string& t) { return t.rfind("Miss", 0) == 0; });
  EXPECT_EQ(misses, (std::vector<std::string>{"Miss, 2 lives left", "Miss, 1 life left", "Miss, no lives left"}));

  std::int64_t lastScoreAt = -Announcer::kScoreEveryMs;
  int lastScore = 0;
  int scores = 0;
  for (const auto& [at, text] : game.said) {
    if (!isScore(text)) continue;
    ++scores;
    EXPECT_GE(at - lastScoreAt, Announcer::kScoreEveryMs) << text;
    const int score = std::stoi(text.substr(6));
    EXPECT_GT(score, lastScore) << text;
    lastScoreAt = at;
    lastScore = score;
  }
  EXPECT_GT(scores, 3);
}

TEST(Announcer, SaysWhichWayAChanceWent) {
  // Played well, the first chance comes with every life: the bonus.
  HeardGame clean(10 * 60'000);
  const auto texts = clean.sentences();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), chanceSentence(true)), 1);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), chanceSentence(false)), 0);
  EXPECT_EQ(texts.back(), gameOverSentence(clean.bot.score(), true));
}

TEST(Announcer, SilencedSaysNothingAndSaysNothingLater) {
  testing::BotGame bot(10 * 3600000 + 14, 4);
  Said said;
  Announcer announcer([&] { return bot.now(); }, [&](const std::string& s) { said.emplace_back(bot.now(), s); });
  announcer.setSilent(true);
  bot.observe(&announcer);
  bot.play(600'000);
  EXPECT_TRUE(said.empty());
  announcer.setSilent(false);
  announcer.lifeLost(1);
  ASSERT_EQ(said.size(), 1u);
  EXPECT_EQ(said[0].second, "Miss, 1 life left");
}

TEST(Announcer, SaysTheClocksTimeOnceWhenTimeIsReleasedAndNotEachMinute) {
  testing::Rig rig;
  std::vector<std::string> said;
  Announcer announcer([&] { return rig.now(); }, [&](const std::string& s) { said.push_back(s); });
  rig.handheld.observeGame(&announcer);
  rig.handheld.start();
  rig.handheld.splashPlay();
  rig.timeOfDay().setLocalAtZero((13 * 60 + 7) * 60'000LL - rig.now());
  rig.click(ElementId::Puls_Time);
  rig.wait(3 * 60'000);
  EXPECT_EQ(said, std::vector<std::string>{"The time is 1:07 PM"});
}

TEST(Announcer, ReadsTheClockAsTheFaceDoes) {
  EXPECT_EQ(clockSentence(0, 5), "The time is 12:05 AM");
  EXPECT_EQ(clockSentence(12, 0), "The time is 12:00 PM");
  EXPECT_EQ(clockSentence(9, 30), "The time is 9:30 AM");
  EXPECT_EQ(clockSentence(23, 59), "The time is 11:59 PM");
  EXPECT_EQ(missSentence(1), "Miss, 1 life left");
  EXPECT_EQ(gameOverSentence(86, false), "Game over, score 86");
}

}  // namespace
}  // namespace wuffel
