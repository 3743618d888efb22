// The scenario runner: reads a script, drives the handheld on virtual time
// with the stand-ins for the platform, and writes a trace.
#pragma once

#include <iosfwd>
#include <string_view>

namespace wuffel::sim {

// Runs a whole script, which messages call `name`. Returns 0 when it ran, 2
// for a malformed line or a failed read (the message goes to `errors`; the
// whole script is read before anything runs, so nothing reaches `trace`).
int runScript(std::istream& script, std::ostream& trace, std::ostream& errors, std::string_view name = "the script");

}  // namespace wuffel::sim
