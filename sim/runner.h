// The scenario runner: reads a script, drives the handheld on virtual time
// with the stand-ins for the platform, and writes a trace.
#pragma once

#include <iosfwd>

namespace wuffel::sim {

// Runs a whole script. Returns 0 when it ran, 2 for a malformed line (the
// message goes to `errors`; nothing of the malformed line reaches `trace`).
int runScript(std::istream& script, std::ostream& trace, std::ostream& errors);

}  // namespace wuffel::sim
