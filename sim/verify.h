// Checking a recording: played to its end, its `expect` lines must hold.
#pragma once

#include <iosfwd>
#include <string>

namespace wuffel::sim {

// Prints "verified A 423" (status 0) or "diverged: WHAT" (status 1) to
// `out`; a text that is not a recording, of other rules, or malformed,
// gets a message on `errors` and status 2.
int verifyRecording(const std::string& text, std::ostream& out, std::ostream& errors, const std::string& name);

}  // namespace wuffel::sim
