// Watching a recorded game in the main window: the replay's face and title,
// the keys that steer it and end it, and a handheld that hears nothing
// meanwhile.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include "app/face_pictures.h"
#include "app/game_recordings.h"
#include "app/main_window.h"
#include "app/watching.h"
#include "core/bot_player.h"
#include "core/rig.h"
#include "qt_application.h"

namespace wuffel {
namespace {

const std::string& recordedGame() {
  static const std::string text = [] {
    testing::BotGame bot(10 * 3600000 + 14, 9);
    bot.play(5 * 60000);
    return bot.recordings.at(0).text;
  }();
  return text;
}

// Counts the inputs that reach the handheld.
struct InputCount : InputObserver {
  void inputArrived(const Input&) override { ++inputs; }
  int inputs = 0;
};

struct WatchingTest : testing::WithQtApplication, ::testing::Test {
  WatchingTest() {
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    form.attach(&rig.handheld);
    rig.handheld.observeInputs(&count);
    rig.handheld.start();
    rig.handheld.splashPlay();
    form.show();
  }
  void key(Qt::Key k) { QTest::keyClick(&form, k); }

  QTemporaryDir data;
  testing::Rig rig{testing::kFirstThrowInLane2};
  FacePictures pictures;
  TForm1 form{pictures};
  GameRecordings recordings{rig.handheld, rig.sim.scheduler, rig.timeOfDay(), rig.windows()};
  Watching watching{form, {}, rig.handheld, recordings};
  InputCount count;
};

TEST_F(WatchingTest, AReplayPlaysAtItsPaceUnderItsOwnTitleAndEscEndsIt) {
  QElapsedTimer real;
  real.start();
  ASSERT_TRUE(watching.watch(recordedGame()));
  EXPECT_TRUE(form.windowTitle().endsWith(" (replay)")) << form.windowTitle().toStdString();
  QTest::qWait(300);
  const std::int64_t atRealPace = watching.replay()->gameTime();
  EXPECT_GT(atRealPace, 0);
  EXPECT_LE(atRealPace, real.elapsed()) << "at the real pace, never ahead of it";
  key(Qt::Key_Space);
  const std::int64_t paused = watching.replay()->gameTime();
  QTest::qWait(150);
  EXPECT_EQ(watching.replay()->gameTime(), paused) << "Space holds the replay";
  key(Qt::Key_Space);
  for (int i = 0; i < 4; ++i) key(Qt::Key_Right);
  EXPECT_EQ(watching.pace().pace(), ReplayPace::kFastest);
  real.restart();
  QTest::qWait(200);
  const std::int64_t fast = watching.replay()->gameTime() - paused;
  EXPECT_GT(fast, real.elapsed()) << "Right makes it faster than the real pace";
  EXPECT_LE(fast, ReplayPace::kFastest * (real.elapsed() + 10)) << "a frame at most before the clock";
  const int inputsBefore = count.inputs;
  key(Qt::Key_Up);
  key(Qt::Key_Control);
  EXPECT_EQ(count.inputs, inputsBefore) << "the handheld hears no key while a replay shows";
  key(Qt::Key_Escape);
  EXPECT_FALSE(watching.active());
  EXPECT_EQ(form.windowTitle().toStdString(), std::string(kApplicationTitle));
  key(Qt::Key_Up);
  EXPECT_GT(count.inputs, inputsBefore) << "and all of them again after it";
}

// The click on GAME A that ends a replay starts no game: neither its press
// nor its release reaches the handheld.
TEST_F(WatchingTest, AClickOnAGameButtonEndsTheReplayAndNothingElse) {
  const SoundChannels* sounds = &rig.sim.channels;
  watching.onSounds([&sounds](const SoundChannels* replay) { sounds = replay; });
  ASSERT_TRUE(watching.watch(recordedGame()));
  EXPECT_EQ(sounds, &watching.replay()->channels()) << "the grille shows the replay's sounds";
  const int inputsBefore = count.inputs;
  const auto& gameA = elementInfo(ElementId::Puls_GameA);
  QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(gameA.left + 3, gameA.top + 3));
  EXPECT_FALSE(watching.active());
  EXPECT_EQ(sounds, nullptr) << "and the handheld's own again";
  EXPECT_EQ(count.inputs, inputsBefore);
  EXPECT_FALSE(rig.handheld.variables().GameRunning);
  QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(gameA.left + 3, gameA.top + 3));
  EXPECT_TRUE(rig.handheld.variables().GameRunning) << "the next click is the handheld's";
}

TEST_F(WatchingTest, NothingIsWatchedWhileAGameIsPlayedAndABadFileIsSaid) {
  rig.click(ElementId::Puls_GameA);
  ASSERT_TRUE(rig.handheld.variables().GameRunning);
  EXPECT_FALSE(watching.canChoose(WatchCommand::OpenRecording));
  key(Qt::Key_F8);
  EXPECT_FALSE(watching.watch(recordedGame()));
  EXPECT_FALSE(watching.active());
  rig.click(ElementId::Puls_ACL);
  EXPECT_TRUE(watching.canChoose(WatchCommand::OpenRecording));
  EXPECT_FALSE(watching.canChoose(WatchCommand::BestGameA)) << "no best game kept yet";

  QTemporaryDir dir;
  const QString path = dir.filePath("not-a-game.wuffel");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("start\nat 100\n");
  file.close();
  EXPECT_FALSE(watching.watchFile(path));
  EXPECT_FALSE(watching.active());
  auto* box = form.findChild<QWidget*>("WatchingRefused");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  box->close();
  // A file that never ends is read no further than a recording can go.
  EXPECT_FALSE(watching.watchFile("/dev/zero"));
}

}  // namespace
}  // namespace wuffel
