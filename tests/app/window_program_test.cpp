// The window program itself, played briefly on an X server of its own: the
// splash window, "- PLAY -", a game of Game A with a few keys, the command
// menu, Esc. It must end by itself with status 0 and, in a sanitized build,
// with no sanitizer report.
#include <gtest/gtest.h>

#include "face/elements.h"
#include "platform/windows.h"
#include "program_on_x.h"

namespace wuffel {
namespace {

using namespace testing;

TEST(WindowProgram, PlaysAGameOpensTheMenuAndEndsWithEscCleanly) {
  for (const char* tool : {"Xvfb", "xdotool", "timeout"})
    if (!installed(tool)) GTEST_SKIP() << tool << " is not installed (see tools/debian-packages)";

  XSession session("window-program");
  ASSERT_TRUE(session.started()) << "Xvfb did not start:\n" << session.serverLog();
  const fs::path work = session.work();
  const fs::path log = work / "program.log";
  Child program({WUFFEL_PROGRAM}, WUFFEL_SOURCE_DIR, log);

  const std::string handheld = playFromSplash();
  ASSERT_FALSE(handheld.empty()) << readFile(log);
  const Geometry h = geometryOf(handheld);
  auto centreOf = [&h](ElementId id) {
    const ElementInfo& e = elementInfo(id);
    return std::pair{h.x + e.left + e.width / 2, h.y + e.top + e.height / 2};
  };

  const auto [gameX, gameY] = centreOf(ElementId::Puls_GameA);
  clickAt(gameX, gameY);
  xdotool("key --delay 150 Up Control_L Down Control_L Down Control_L Up Control_L");

  const auto [faceX, faceY] = centreOf(ElementId::Im_BaseTop);
  clickAt(faceX, faceY, 3);
  EXPECT_TRUE(eventually([&] { return countShown(program.pid()) == 2; })) << "no command menu";
  xdotool("key Escape");
  EXPECT_TRUE(eventually([&] { return countShown(program.pid()) == 1; })) << "the menu stayed open";
  xdotool("key Escape");

  ASSERT_TRUE(program.waitForExit()) << "still running after Esc\n" << readFile(log);
  const std::string output = readFile(log);
  bool reported = false;
  for (const char* report : {"AddressSanitizer", "LeakSanitizer", "runtime error:"})
    reported = reported || output.find(report) != std::string::npos;
  const bool exitedWithZero = WIFEXITED(program.status()) && WEXITSTATUS(program.status()) == 0;
  EXPECT_TRUE(exitedWithZero && !reported) << "status " << program.status() << "\n" << output;
}

}  // namespace
}  // namespace wuffel
