// The page opened with ?trace writes the scenario runner's trace lines to
// the console, timed on the page clock, so that a real browser's run can be
// read against a runner's.
#pragma once

#include <functional>
#include <string>

#include "frontend/trace.h"
#include "platform/timeline.h"

namespace wuffel::web {

class PageTrace : public EventLog {
 public:
  PageTrace(const Timeline& clock, std::function<void(const std::string&)> sink)
      : clock_(clock), sink_(std::move(sink)) {}

  void event(const std::string& text) override { sink_(std::to_string(clock_.now()) + " " + text); }
  // What the handheld reports, in the runner's words.
  TraceWriter& reports() { return reports_; }

 private:
  const Timeline& clock_;
  std::function<void(const std::string&)> sink_;
  TraceWriter reports_{*this};
};

}  // namespace wuffel::web
