#pragma once

#include <stdexcept>

namespace wuffel {

// An error raised inside an event handler: it ends the handler where it is
// raised, and the dispatcher shows its message in the error box.
struct WuffelError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace wuffel
