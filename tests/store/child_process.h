// Runs store checks in a child process, so that one that never returns
// fails the test instead of stopping the suite, and so that a check can
// give up the root user's rights.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace wuffel::testing {

// Far longer than any store operation may take: a bound for a hang, not a
// measure of speed.
inline constexpr std::chrono::seconds kHangLimit{5};

// What `checks` found wrong in a child process, or empty. A child that is
// still running after kHangLimit is killed and reported as hung.
inline std::string inChildProcess(const std::function<std::string()>& checks,
                                  const std::function<bool()>& prepare = [] { return true; }) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    if (!prepare()) ::_exit(2);
    const std::string failed = checks();
    if (!failed.empty()) std::fprintf(stderr, "%s\n", failed.c_str());
    ::_exit(failed.empty() ? 0 : 1);
  }
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + kHangLimit;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return "the child process hung";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!WIFEXITED(status)) return "the child process crashed";
  if (WEXITSTATUS(status) == 2) return "the child process could not be prepared";
  return WEXITSTATUS(status) == 0 ? "" : "see the child's message above";
}

}  // namespace wuffel::testing
