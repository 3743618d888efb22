#pragma once

#include <chrono>
#include <future>
#include <utility>

namespace wuffel {

// The UI thread's wait for something the audio device's thread sets up. It
// waits at most kLimit, and once a wait has run out, not at all: a sound
// server that does not answer costs one short pause, then the game plays on
// silently. Should the device arrive later, it is taken up then.
template <class T>
class DeviceArrival {
 public:
  static constexpr std::chrono::milliseconds kLimit{200};

  explicit DeviceArrival(std::shared_future<T> arrival) : arrival_(std::move(arrival)) {}

  bool arrived() const {
    if (arrived_) return true;
    const auto wait = waitedInVain_ ? std::chrono::milliseconds(0) : kLimit;
    arrived_ = arrival_.wait_for(wait) == std::future_status::ready;
    waitedInVain_ = !arrived_;
    return arrived_;
  }
  // For shutting down: waits until `deadline`, unless a wait has already
  // run out.
  bool arrivedBy(std::chrono::steady_clock::time_point deadline) const {
    if (arrived_) return true;
    if (waitedInVain_) return arrival_.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
    return arrival_.wait_until(deadline) == std::future_status::ready;
  }
  // Only once arrived.
  decltype(auto) get() const { return arrival_.get(); }

 private:
  std::shared_future<T> arrival_;
  mutable bool arrived_ = false;
  mutable bool waitedInVain_ = false;
};

}  // namespace wuffel
