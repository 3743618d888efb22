// The scenario runner: reads a script, drives the handheld on virtual time
// with the stand-ins for the platform, and writes a trace.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "frontend/game_recorder.h"

namespace wuffel::sim {

// Runs a whole script, which messages call `name`. Returns 0 when it ran, 2
// for a malformed line or a failed read (the message goes to `errors`; the
// whole script is read before anything runs, so nothing reaches `trace`).
int runScript(std::istream& script, std::ostream& trace, std::ostream& errors, std::string_view name = "the script");

// The release and start date the runner's recordings name: its games are
// played on virtual time, on no day in particular.
inline constexpr std::string_view kRunnerRelease = "scenario";
inline constexpr std::string_view kRunnerPlayedAt = "1970-01-01T00:00:00Z";

// What the script's `expect` lines ask of its end.
struct Expectations {
  std::optional<std::int32_t> score;
  std::optional<std::string> digest;
};
// How a run ended: the game's score and the digest of its state.
struct RunEnd {
  Expectations expectations;
  std::optional<std::int32_t> score;  // none when the script never started the program
  std::optional<std::string> digest;
};
struct RunResult {
  int status;
  RunEnd end;
};
// The same, telling `recorded` of the recording of each game played.
RunResult runScript(std::istream& script, std::ostream& trace, std::ostream& errors, std::string_view name,
                    const GameRecorder::Finished& recorded);

}  // namespace wuffel::sim
