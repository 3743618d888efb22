#include "sim/runner.h"

#include <ostream>
#include <string>

#include "sim/script.h"
#include "sim/script_player.h"

namespace wuffel::sim {

int runScript(std::istream& script, std::ostream& trace, std::ostream& errors, std::string_view name) {
  return runScript(script, trace, errors, name, {}).status;
}

RunResult runScript(std::istream& script, std::ostream& trace, std::ostream& errors, std::string_view name,
                    const GameRecorder::Finished& recorded) {
  const auto read = readScript(script);
  if (const auto* error = std::get_if<ScriptError>(&read)) {
    if (error->unreadable)
      errors << "wuffel-scenario: cannot read " << name
             << (error->line > 1 ? " at line " + std::to_string(error->line) : "") << ": " << error->message << '\n';
    else
      errors << "line " << error->line << ": " << error->message << '\n';
    return {2, {}};
  }
  ScriptPlayer player(std::get<Script>(read), &trace, recorded);
  player.playTo();
  return {0, player.finish()};
}

}  // namespace wuffel::sim
