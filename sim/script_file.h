// Where a script is read from: the file named on the command line, or
// standard input. Read straight through the file descriptor, so that every
// build (the C++ libraries of the desktop and of emscripten differ here)
// knows why a read failed instead of taking the failure for the end.
#pragma once

#include <optional>
#include <streambuf>
#include <string>

namespace wuffel::sim {

class ScriptFile : public std::streambuf {
 public:
  explicit ScriptFile(const std::string& path);
  static ScriptFile standardInput();
  ~ScriptFile() override;
  ScriptFile(const ScriptFile&) = delete;
  ScriptFile& operator=(const ScriptFile&) = delete;

  // The file as messages name it.
  const std::string& name() const { return name_; }
  // Why the file cannot be read at all (not there, a folder, not ours).
  const std::optional<std::string>& unreadable() const { return unreadable_; }

 protected:
  // A failed read raises std::runtime_error with its reason.
  int_type underflow() override;

 private:
  ScriptFile(int fd, std::string name, bool owned);
  void checkIsAFile();

  int fd_;
  std::string name_;
  bool owned_;
  std::optional<std::string> unreadable_;
  char buffer_[65536];
};

// A failed system call's reason in words of our own, the same on every build.
std::string reasonOf(int error);

}  // namespace wuffel::sim
