#include "sim/verify.h"

#include <ostream>
#include <sstream>

#include "frontend/recording_file.h"
#include "game/rules_digest.h"
#include "sim/runner.h"

namespace wuffel::sim {

int verifyRecording(const std::string& text, std::ostream& out, std::ostream& errors, const std::string& name) {
  const auto header = readRecordingHeader(text);
  if (!header) {
    errors << "wuffel-scenario: " << name << " is not a recording: its first line is not \"" << kRecordingFirstLine
           << "\" with a \"# rules\" line after it\n";
    return 2;
  }
  if (header->rules != rulesDigest()) {
    errors << "wuffel-scenario: " << name << " was recorded with the rules " << header->rules
           << ", and these are the rules " << rulesDigest() << "\n";
    return 2;
  }
  std::istringstream script(text);
  std::ostringstream trace;
  const RunResult run = runScript(script, trace, errors, name, {});
  if (run.status != 0) return run.status;
  const Expectations& expect = run.end.expectations;
  if (!expect.score || !expect.digest) {
    errors << "wuffel-scenario: " << name << " is not a recording: it has no \"expect score\" and \"expect digest\"\n";
    return 2;
  }
  if (!run.end.score) {
    out << "diverged: the program never started\n";
    return 1;
  }
  if (*run.end.score != *expect.score) {
    out << "diverged: score " << *run.end.score << ", expected " << *expect.score << "\n";
    return 1;
  }
  if (*run.end.digest != *expect.digest) {
    out << "diverged: digest " << *run.end.digest << ", expected " << *expect.digest << "\n";
    return 1;
  }
  out << "verified " << header->game << " " << *run.end.score << "\n";
  return 0;
}

}  // namespace wuffel::sim
