#pragma once

#include <functional>
#include <string>

#include "platform/error.h"

namespace wuffel::testing {

// The message of the error `f` raises, or "no error".
inline std::string errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const WuffelError& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace wuffel::testing
