// Where the runner's stand-ins, and a front end's own ports when it traces,
// say what the program asked of them, in the trace's words.
#pragma once

#include <string>

namespace wuffel {

class EventLog {
 public:
  virtual ~EventLog() = default;
  virtual void event(const std::string& text) = 0;
};

}  // namespace wuffel
