// The runner's command line on what it cannot read: each is refused with
// the file's name and the reason, exit status 2 and nothing on standard
// output.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace wuffel {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// Runs the runner through the shell with `arguments` (redirections too).
Outcome runner(const std::string& arguments) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("wuffel-runner-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string out = (dir / "out").string(), err = (dir / "err").string();
  const int status = std::system((WUFFEL_SCENARIO " " + arguments + " >" + out + " 2>" + err).c_str());
  const auto slurp = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
  std::filesystem::remove_all(dir);
  return outcome;
}

TEST(ScriptFile, AFolderAMissingFileAndAFileWithoutLineEndsAreRefusedWithTheirReason) {
  const std::string folder = std::filesystem::temp_directory_path().string();
  // What /dev/zero gives, but of an end that a runner reading it whole would reach.
  const std::string zeros = folder + "/wuffel-zeros-" + std::to_string(::getpid());
  std::ofstream(zeros, std::ios::binary) << std::string(3 << 20, '\0');
  for (const auto& [arguments, message] :
       {std::pair<std::string, std::string>{folder,
                                            "wuffel-scenario: cannot read '" + folder + "': it is a folder, not a file\n"},
        {"< " + folder, "wuffel-scenario: cannot read standard input: it is a folder, not a file\n"},
        {"/nonexistent/script.txt", "wuffel-scenario: cannot read '/nonexistent/script.txt': there is no such file\n"},
        {zeros, "line 1: the line is longer than 1 MiB, refused\n"},
        {"< " + zeros, "line 1: the line is longer than 1 MiB, refused\n"}}) {
    const Outcome r = runner(arguments);
    EXPECT_EQ(r.status, 2) << arguments;
    EXPECT_EQ(r.err, message) << arguments;
    EXPECT_TRUE(r.out.empty()) << arguments;
  }
  std::filesystem::remove(zeros);
}

TEST(ScriptFile, AScriptReadsTheSameFromAFileAndFromStandardInput) {
  const std::filesystem::path script =
      std::filesystem::temp_directory_path() / ("wuffel-script-" + std::to_string(::getpid()) + ".txt");
  std::ofstream(script) << "start\nat 500\ndump\n";
  const Outcome fromFile = runner(script.string());
  const Outcome fromInput = runner("< " + script.string());
  std::filesystem::remove(script);
  EXPECT_EQ(fromFile.status, 0) << fromFile.err;
  EXPECT_NE(fromFile.out.find("500 dump vars"), std::string::npos);
  EXPECT_EQ(fromInput.status, 0) << fromInput.err;
  EXPECT_EQ(fromInput.out, fromFile.out);
}

}  // namespace
}  // namespace wuffel
