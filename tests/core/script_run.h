// Runs a scenario script as the runner's command line would, for tests.
#pragma once

#include <sstream>
#include <string>

#include "sim/runner.h"

namespace wuffel::testing {

struct ScriptResult {
  int status;
  std::string trace;
  std::string errors;
};

inline ScriptResult run(const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out, err;
  const int status = sim::runScript(in, out, err);
  return {status, out.str(), err.str()};
}

// The first line of the trace that starts with `prefix`, or nothing.
inline std::string lineStarting(const std::string& trace, const std::string& prefix) {
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0) return line;
  return {};
}

}  // namespace wuffel::testing
