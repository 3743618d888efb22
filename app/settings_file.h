// The settings file on the disk, handled so that nothing waits on anything
// but the disk itself: only regular files of a sensible size are read, the
// lock between processes is given up at a deadline, and a file is replaced
// whole, so that a reader never sees half of one. Unix only.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace wuffel::settings_file {

// Far more than any file the program writes; a larger one is not read.
inline constexpr std::size_t kMaxFileSize = std::size_t{1} << 20;

struct Contents {
  enum class State {
    Absent,      // no file there
    Read,        // `bytes` holds it
    TooLarge,    // a regular file over kMaxFileSize: not read
    NotRegular,  // a folder, a named pipe, a device or a socket: not opened
    Unreadable,  // not to be read: no permission, or an input/output error
  };
  State state = State::Absent;
  std::string bytes;
  unsigned mode = 0;  // permission bits of a regular file
};

// Never blocks on what the path names: a named pipe or a device is not
// opened for reading at all.
Contents read(const std::string& path);

// The path of the file that `path` names once symbolic links are followed,
// whether or not that file exists; nothing when the links go round.
std::optional<std::string> resolveLinks(const std::string& path);

// An exclusive lock between processes, held on the file at `path` while the
// object lives, which then removes the file. Whatever the file holds does not
// matter, so a lock file left behind by a process that ended locks nothing.
class Lock {
 public:
  // Nothing when another process still holds the lock after `patience`, or
  // when the path is something other than a regular file (a folder, a link).
  static std::optional<Lock> take(const std::string& path, std::chrono::milliseconds patience);

  Lock(Lock&& other) noexcept;
  Lock& operator=(Lock&&) = delete;
  ~Lock();

 private:
  Lock(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
  std::string path_;
  int fd_ = -1;
};

// Puts `bytes` in place of the file at `path` (a regular file or none) by
// writing a new file beside it and renaming it over the old one, with the
// file synced to the disk before and its folder after. The new file takes
// `mode` (the old file's), or, when there is none, the permissions a new
// file gets, always readable and writable by its owner. False, with the old
// file untouched, when any step fails.
bool replace(const std::string& path, const std::string& bytes, std::optional<unsigned> mode);

}  // namespace wuffel::settings_file
