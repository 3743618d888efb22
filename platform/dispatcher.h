// Every event handler runs through the dispatcher: an error raised inside it
// ends the handler there (what it did stays done) and shows the error box.
#pragma once

#include <functional>
#include <string>

#include "platform/ports.h"

namespace wuffel {

// The error box's text: a "." is added when the last character sorts after ".".
std::string errorBoxText(const std::string& message);

class Dispatcher {
 public:
  explicit Dispatcher(ErrorBox& box) : box_(box) {}
  void run(const std::function<void()>& handler);

 private:
  ErrorBox& box_;
};

}  // namespace wuffel
