// The questions put before a step that loses something: asked only with
// modern keys, the game waiting meanwhile; the runner's stand-in answers
// them as the script says and traces both.
#include <gtest/gtest.h>

#include "rig.h"
#include "script_run.h"

namespace wuffel {
namespace {

using testing::Rig;
using testing::run;

struct Questions : ::testing::Test {
  explicit Questions(bool modernKeys = true) {
    rig.settings.put("HiScoreA", true, "521");
    rig.settings.put("HiScoreB", true, "512");
    h.start();
    if (modernKeys) h.changeSetting(Setting::Keys, static_cast<int>(KeyMode::Modern));
    h.splashPlay();
  }
  void startGameA() { rig.click(ElementId::Puls_GameA); }
  const std::vector<std::string>& asked() const { return rig.sim.questions.asked; }

  Rig rig;
  Handheld& h = rig.handheld;
  HandheldTestAccess& inside = rig.inside;
};

struct WithOriginalKeys : Questions {
  WithOriginalKeys() : Questions(false) {}
};

TEST_F(WithOriginalKeys, EscAndResetHiscoresActAtOnceAsTheOriginalDid) {
  startGameA();
  h.chooseMenuItem(MenuCommand::PM_8HiScore);
  EXPECT_EQ(inside.vars.HiScoreA, 0);
  EXPECT_EQ(inside.vars.HiScoreB, 0);
  h.keyDown(VirtualKey::Escape);
  EXPECT_EQ(rig.quits(), 1);
  EXPECT_TRUE(asked().empty());
}

TEST_F(Questions, EscDuringAGameAsksFirstWithTheGameWaitingAndNoPlaysOn) {
  startGameA();
  rig.wait(1000);
  rig.sim.questions.answer = false;
  h.keyDown(VirtualKey::Escape);
  EXPECT_EQ(asked(), std::vector<std::string>{"Quit the game in progress?"});
  EXPECT_EQ(rig.quits(), 0);
  EXPECT_TRUE(inside.vars.GameRunning);
  EXPECT_FALSE(h.paused()) << "the game goes on after no";
  // Yes ends the program; the game stays as the question left it.
  rig.sim.questions.answer = true;
  h.chooseMenuItem(MenuCommand::PM_10Exit);
  EXPECT_EQ(rig.quits(), 1);
  EXPECT_TRUE(h.paused());
}

TEST_F(Questions, EscWithNoGameRunningQuitsAtOnce) {
  rig.sim.questions.answer = false;
  h.keyDown(VirtualKey::Escape);
  EXPECT_EQ(rig.quits(), 1);
  EXPECT_TRUE(asked().empty());
}

TEST_F(Questions, AGamePausedByThePlayerStaysPausedAfterTheQuestion) {
  startGameA();
  h.keyDown(VirtualKey::P);
  h.keyUp(VirtualKey::P);
  ASSERT_TRUE(h.paused());
  rig.sim.questions.answer = false;
  h.keyDown(VirtualKey::Escape);
  EXPECT_EQ(asked().size(), 1u);
  EXPECT_TRUE(h.paused());
}

TEST_F(Questions, ResetHiscoresNamesBothScoresAndWipesThemOnlyOnYes) {
  rig.sim.questions.answer = false;
  h.chooseMenuItem(MenuCommand::PM_8HiScore);
  EXPECT_EQ(asked(), std::vector<std::string>{"Reset the best scores, 521 in Game A and 512 in Game B, to 0?"});
  EXPECT_EQ(inside.vars.HiScoreA, 521);
  EXPECT_EQ(inside.vars.HiScoreB, 512);
  EXPECT_EQ(rig.beeps(), 0);
  // Asked during a game, which goes on afterwards.
  startGameA();
  rig.sim.questions.answer = true;
  h.chooseMenuItem(MenuCommand::PM_8HiScore);
  EXPECT_EQ(inside.vars.HiScoreA, 0);
  EXPECT_EQ(inside.vars.HiScoreB, 0);
  EXPECT_EQ(rig.beeps(), 1);
  EXPECT_FALSE(h.paused());
  EXPECT_TRUE(inside.vars.GameRunning);
}

// The page cannot wait for the answer: until it comes, the game waits and
// no second question is put.
class LaterAnswers : public QuestionBox {
 public:
  void ask(const std::string& question, std::function<void(bool)> answered) override {
    asked.push_back(question);
    pending = std::move(answered);
  }
  std::vector<std::string> asked;
  std::function<void(bool)> pending;
};

TEST(QuestionAnsweredLater, TheGameWaitsForItAndNoSecondQuestionIsPut) {
  MemorySettings store;
  store.put("Settings/keys", true, "modern");
  sim::VirtualHandheld sim({}, store);
  LaterAnswers later;
  Handheld h(HandheldPorts{sim.scheduler, sim.timeOfDay, sim.windows, sim.errorBox, sim.shell, sim.channels, store,
                           sim.beep, sim.messageLoop, later});
  h.start();
  h.splashPlay();
  h.keyDown(VirtualKey::A);
  h.keyUp(VirtualKey::A);
  ASSERT_TRUE(h.variables().GameRunning);
  h.keyDown(VirtualKey::Escape);
  EXPECT_TRUE(h.paused());
  h.keyUp(VirtualKey::Escape);
  h.keyDown(VirtualKey::Escape);
  h.chooseMenuItem(MenuCommand::PM_8HiScore);
  EXPECT_EQ(later.asked.size(), 1u);
  std::exchange(later.pending, nullptr)(false);
  EXPECT_FALSE(h.paused());
  EXPECT_EQ(sim.messageLoop.quits, 0);
  h.chooseMenuItem(MenuCommand::PM_8HiScore);
  EXPECT_EQ(later.asked.size(), 2u) << "asked again once answered";
}

TEST(QuestionsInTheRunner, TheStandInTracesTheQuestionAndAnswersAsTheScriptSays) {
  const auto r = run(
      "setting keys modern\nstore HiScoreA text 521\nstart\nsplash Puls_Play\nkeydown 65\nkeyup 65\n"
      "at 1000\nanswer no\nkeydown 27\nat 1100\nmenu PM_8HiScore\nanswer yes\nmenu PM_10Exit\n");
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_NE(r.trace.find("1000 pause\n1000 ask Quit the game in progress?\n1000 answer no\n1000 resume\n"),
            std::string::npos)
      << r.trace;
  EXPECT_NE(r.trace.find("1100 ask Reset the best scores, 521 in Game A and 0 in Game B, to 0?\n1100 answer no\n"),
            std::string::npos);
  EXPECT_NE(r.trace.find("1100 ask Quit the game in progress?\n1100 answer yes\n"), std::string::npos);
  EXPECT_EQ(r.trace.substr(r.trace.size() - 10), "1100 exit\n");
  // By default the stand-in answers yes.
  const auto yes = run("setting keys modern\nstart\nsplash Puls_Play\nkeydown 65\nkeyup 65\nkeydown 27\n");
  EXPECT_NE(yes.trace.find("0 ask Quit the game in progress?\n0 answer yes\n"), std::string::npos);
  EXPECT_EQ(yes.trace.substr(yes.trace.size() - 7), "0 exit\n");
  EXPECT_EQ(run("start\nanswer maybe\n").status, 2);
}

}  // namespace
}  // namespace wuffel
