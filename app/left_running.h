// Parts of the audio output left to a thread that did not stop in time,
// stuck in a sound server that does not answer. They are never freed, as
// that thread may still use them, and never joined; they stay listed here
// so that the leak checker knows they are kept on purpose.
#pragma once

#include <mutex>
#include <vector>

namespace wuffel {

inline void leaveRunning(const void* part) {
  static std::mutex mutex;
  static auto* parts = new std::vector<const void*>;  // outlives every static destructor
  std::lock_guard lock(mutex);
  parts->push_back(part);
}

}  // namespace wuffel
