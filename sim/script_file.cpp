#include "sim/script_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace wuffel::sim {

ScriptFile::ScriptFile(const std::string& path)
    : ScriptFile(::open(path.c_str(), O_RDONLY | O_CLOEXEC), path, true) {}

ScriptFile ScriptFile::standardInput() { return ScriptFile(STDIN_FILENO, "standard input", false); }

ScriptFile::ScriptFile(int fd, std::string name, bool owned) : fd_(fd), name_(std::move(name)), owned_(owned) {
  if (fd_ < 0) {
    unreadable_ = reasonOf(errno);
    owned_ = false;
    return;
  }
  checkIsAFile();
}

ScriptFile::~ScriptFile() {
  if (owned_) ::close(fd_);
}

// A folder opens like a file on Linux and fails only at the first read;
// it is named as what it is before anything is read. (Node's standard
// input has no status under emscripten; its reads tell what goes wrong.)
void ScriptFile::checkIsAFile() {
  struct stat status {};
  if (::fstat(fd_, &status) == 0 && S_ISDIR(status.st_mode)) unreadable_ = reasonOf(EISDIR);
}

ScriptFile::int_type ScriptFile::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  ssize_t got;
  do got = ::read(fd_, buffer_, sizeof buffer_);
  while (got < 0 && errno == EINTR);
  if (got < 0) throw std::runtime_error(reasonOf(errno));
  if (got == 0) return traits_type::eof();
  setg(buffer_, buffer_, buffer_ + got);
  return traits_type::to_int_type(*gptr());
}

std::string reasonOf(int error) {
  switch (error) {
    case ENOENT: return "there is no such file";
    case EISDIR: return "it is a folder, not a file";
    case EACCES:
    case EPERM: return "permission denied";
    case ENOTDIR: return "a part of its path is not a folder";
    case ENAMETOOLONG: return "the name is too long";
    case ELOOP: return "too many symbolic links";
    case EBADF: return "it is not open";
    case EIO: return "the device failed to read it";
    default: return std::strerror(error);
  }
}

}  // namespace wuffel::sim
