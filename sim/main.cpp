// wuffel-scenario: runs a script (standard input, or the file named as the
// only argument) against the handheld on virtual time and prints its trace;
// with --record DIR, also writes the recording of each game into DIR; with
// --verify FILE, plays a recording and says whether its end holds.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

#include "frontend/recording_file.h"
#include "sim/quoted_word.h"
#include "sim/runner.h"
#include "sim/script_file.h"
#include "sim/verify.h"

namespace {

using namespace wuffel;
using namespace wuffel::sim;

constexpr const char* kUsage = "usage: wuffel-scenario [SCRIPT]\n"
                               "       wuffel-scenario --record DIR [SCRIPT]\n"
                               "       wuffel-scenario --verify FILE\n";

// The name a file of a recording takes in DIR, with "-2", "-3"... for a
// second game that started in the same second.
std::filesystem::path freshName(const std::filesystem::path& dir, const std::string& name) {
  std::filesystem::path path = dir / name;
  for (int n = 2; std::filesystem::exists(path); ++n) path = dir / numberedFileName(name, n);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  std::optional<std::filesystem::path> recordDir;
  if (!args.empty() && args[0] == "--verify") {
    if (args.size() != 2) return std::cerr << kUsage, 2;
    ScriptFile file{std::string(args[1])};
    const std::string name = quotedWord(file.name(), std::string::npos);
    if (const auto& why = file.unreadable()) {
      std::cerr << "wuffel-scenario: cannot read " << name << ": " << *why << "\n";
      return 2;
    }
    std::string text;
    try {
      std::istream in(&file);
      text.assign(std::istreambuf_iterator<char>(in), {});
    } catch (const std::exception& failure) {
      std::cerr << "wuffel-scenario: cannot read " << name << ": " << failure.what() << "\n";
      return 2;
    }
    return verifyRecording(text, std::cout, std::cerr, name);
  }
  if (!args.empty() && args[0] == "--record") {
    if (args.size() < 2 || args.size() > 3) return std::cerr << kUsage, 2;
    recordDir = std::filesystem::path(args[1]);
    std::error_code error;
    if (!std::filesystem::is_directory(*recordDir, error)) {
      std::cerr << "wuffel-scenario: " << quotedWord(std::string(args[1]), std::string::npos)
                << " is not a folder to record into\n";
      return 2;
    }
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() > 1 || (!args.empty() && args[0].substr(0, 2) == "--")) return std::cerr << kUsage, 2;
  ScriptFile file = args.size() == 1 ? ScriptFile(std::string(args[0])) : ScriptFile::standardInput();
  const std::string name = args.size() == 1 ? quotedWord(file.name(), std::string::npos) : file.name();
  if (const auto& why = file.unreadable()) {
    std::cerr << "wuffel-scenario: cannot read " << name << ": " << *why << "\n";
    return 2;
  }
  std::istream script(&file);
  if (!recordDir) return runScript(script, std::cout, std::cerr, name);
  bool written = true;
  const auto record = [&](const Recording& r) {
    const auto path = freshName(*recordDir, recordingFileName(1970, 1, 1, r.localStartedAt, r.letter()));
    std::ofstream out(path, std::ios::binary);
    out << r.text;
    out.close();
    if (!out) {
      std::cerr << "wuffel-scenario: cannot write " << quotedWord(path.string(), std::string::npos) << "\n";
      written = false;
    }
  };
  const int status = runScript(script, std::cout, std::cerr, name, record).status;
  return status != 0 ? status : written ? 0 : 2;
}
