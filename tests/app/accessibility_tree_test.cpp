// The window program as a screen reader reads it over AT-SPI, on an X
// server and a session bus of the test's own (CTest runs it under
// dbus-run-session): the handheld a group of named buttons whose value is
// the score; GAME A pressed by its action starts a game; the value and the
// status line follow a hit, made by a player that watches the screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "face/segment_tables.h"
#include "game/rules.h"
#include "platform/windows.h"
#include "program_on_x.h"

namespace wuffel {
namespace {

using namespace testing;

// Debian's own, which python3-pyatspi installs into, whatever python3 the PATH finds first.
constexpr const char* kSystemPython = "/usr/bin/python3";
const std::string kReader = std::string(kSystemPython) + " " + WUFFEL_SOURCE_DIR + "/tests/app/accessibility_reader.py '" +
                            std::string(kApplicationTitle) + "' ";

// The reader's lines, or none while the program is not on the bus yet.
std::vector<std::string> askReader(const std::string& command) {
  std::istringstream out(shell(kReader + command + " 2>/dev/null"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(out, line);) lines.push_back(line);
  return lines;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// A player that watches the screen: it steps to the lane of a ball about
// to reach the racket and swings when it is there.
class ScreenPlayer {
 public:
  explicit ScreenPlayer(Geometry window) : window_(window) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    static int argc = 1;
    static char name[] = "wuffel-test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
    bare_ = grab();
  }
  // The player is back in its starting lane after a miss.
  void restart() { lane_ = kStartingLane; }
  // One look at the screen, and the keys it calls for.
  void step() {
    const QImage now = grab();
    for (int lane = 1; lane <= kLanes; ++lane) {
      const bool atRacket = lit(now, kSegmentTables.throwCell(lane, kRacketThrowCell));
      if (!atRacket && !lit(now, kSegmentTables.throwCell(lane, kRacketThrowCell + 1))) continue;
      for (; lane_ < lane; ++lane_) xdotool("key Down");
      for (; lane_ > lane; --lane_) xdotool("key Up");
      if (atRacket) xdotool("key Control_L");
      return;
    }
  }

 private:
  QImage grab() const {
    return app_->primaryScreen()
        ->grabWindow(0, window_.x, window_.y, window_.width, window_.height)
        .toImage()
        .convertToFormat(QImage::Format_Grayscale8);
  }
  // Markedly darker than when the game began, somewhere in the element's place.
  bool lit(const QImage& now, ElementId id) const {
    const auto& e = elementInfo(id);
    int darker = 0;
    for (int y = e.top; y < e.top + e.height; ++y)
      for (int x = e.left; x < e.left + e.width; ++x)
        if (qGray(bare_.pixel(x, y)) - qGray(now.pixel(x, y)) > 40) ++darker;
    return darker >= 4;
  }

  Geometry window_;
  std::unique_ptr<QGuiApplication> app_;
  QImage bare_;
  int lane_ = kStartingLane;
};

TEST(AccessibilityTree, NamesTheButtonsAndFollowsTheScoreAndTheGame) {
  for (const char* tool : {"Xvfb", "xdotool", "timeout"})
    if (!installed(tool)) GTEST_SKIP() << tool << " is not installed (see tools/debian-packages)";
  if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no session bus: run under dbus-run-session";
  if (std::system((std::string(kSystemPython) + " -c 'import pyatspi' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "python3-pyatspi is not installed (see tools/debian-packages)";

  XSession session("accessibility-tree");
  ASSERT_TRUE(session.started()) << "Xvfb did not start:\n" << session.serverLog();
  const fs::path log = session.work() / "program.log";
  ::setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
  Child program({WUFFEL_PROGRAM}, WUFFEL_SOURCE_DIR, log);
  const std::string handheld = playFromSplash();
  ASSERT_FALSE(handheld.empty()) << readFile(log);

  std::vector<std::string> tree;
  ASSERT_TRUE(eventually([&] { return !(tree = askReader("tree")).empty(); })) << readFile(log);
  EXPECT_EQ(tree, (std::vector<std::string>{"value 0", "button GAME A enabled", "button GAME B enabled",
                                            "button TIME enabled", "button ACL enabled", "button HIT disabled",
                                            "button UP disabled", "button DOWN disabled", "status"}));

  const fs::path heard = session.work() / "heard.log";
  Child listener({"sh", "-c", "exec " + kReader + "listen"}, WUFFEL_SOURCE_DIR, heard);
  ASSERT_TRUE(eventually([&] { return readFile(heard).find("listening") != std::string::npos; }))
      << readFile(heard);
  askReader("press 'GAME A'");
  // The screen as the game begins, without a ball near the racket, is what the player compares with.
  std::this_thread::sleep_for(300ms);
  ScreenPlayer player(geometryOf(handheld));

  // Until a hit, a game or two if need be; each miss puts the player back.
  const auto until = std::chrono::steady_clock::now() + 90s;
  std::size_t misses = 0;
  std::size_t gamesOver = 0;
  while (std::chrono::steady_clock::now() < until) {
    const std::string said = readFile(heard);
    if (said.find("status Score ") != std::string::npos) break;
    const std::size_t missed = occurrences(said, "status Miss");
    const std::size_t over = occurrences(said, "status Game over");
    if (missed != misses) player.restart();
    if (over != gamesOver) askReader("press 'GAME A'");
    misses = missed;
    gamesOver = over;
    player.step();
    std::this_thread::sleep_for(15ms);
  }
  const std::string said = readFile(heard);
  const auto scoreSaid = said.find("status Score ");
  ASSERT_NE(scoreSaid, std::string::npos) << "no hit in 90 s:\n" << said;
  const int score = std::atoi(said.c_str() + scoreSaid + 13);
  EXPECT_GT(score, 0);
  EXPECT_NE(said.find("value " + std::to_string(score)), std::string::npos) << said;
  EXPECT_NE(askReader("tree").at(0), "value 0");
}

}  // namespace
}  // namespace wuffel
