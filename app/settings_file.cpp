#include "app/settings_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>
#include <utility>

namespace wuffel::settings_file {

namespace {

using Clock = std::chrono::steady_clock;

// How long a waiting lock sleeps between two tries.
constexpr std::chrono::milliseconds kLockRetry{2};
// Links followed before a chain of them counts as a loop.
constexpr int kMaxLinks = 40;

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

Contents::State stateOf(const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return Contents::State::NotRegular;
  if (static_cast<std::size_t>(st.st_size) > kMaxFileSize) return Contents::State::TooLarge;
  return Contents::State::Read;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }
  // Closes it now, for the error that close can report.
  bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A new file beside `path` that no other process or earlier run has.
std::pair<int, std::string> createSibling(const std::string& path) {
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = path + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return {fd, std::move(name)};
    if (errno != EEXIST) break;
  }
  return {-1, {}};
}

}  // namespace

Contents read(const std::string& path) {
  Contents result;
  struct stat st{};
  // Looked at before it is opened: opening a device can have effects of its own.
  if (::stat(path.c_str(), &st) != 0) {
    result.state = errno == ENOENT || errno == ENOTDIR ? Contents::State::Absent : Contents::State::Unreadable;
    return result;
  }
  result.state = stateOf(st);
  if (result.state != Contents::State::Read) {
    if (S_ISREG(st.st_mode)) result.mode = st.st_mode & 07777;
    return result;
  }
  // Non-blocking, in case a named pipe has taken the file's place meanwhile.
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) {
    result.state = errno == ENOENT ? Contents::State::Absent : Contents::State::Unreadable;
    return result;
  }
  if (::fstat(fd.get(), &st) != 0) {
    result.state = Contents::State::Unreadable;
    return result;
  }
  result.state = stateOf(st);
  if (S_ISREG(st.st_mode)) result.mode = st.st_mode & 07777;
  if (result.state != Contents::State::Read) return result;

  // Room for one byte more than the file had, to see it grow while read.
  std::string& bytes = result.bytes;
  bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t size = 0;
  for (;;) {
    if (size == bytes.size()) {
      if (size > kMaxFileSize) {
        result.state = Contents::State::TooLarge;
        bytes.clear();
        return result;
      }
      bytes.resize(std::min(2 * size, kMaxFileSize + 1));
    }
    const ssize_t n = ::read(fd.get(), bytes.data() + size, bytes.size() - size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.state = Contents::State::Unreadable;
      bytes.clear();
      return result;
    }
    if (n == 0) break;
    size += static_cast<std::size_t>(n);
  }
  bytes.resize(size);
  return result;
}

std::optional<std::string> resolveLinks(const std::string& path) {
  std::string current = path;
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat st{};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string target(static_cast<std::size_t>(st.st_size) + 1, '\0');
    const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return std::nullopt;  // changed meanwhile
    target.resize(static_cast<std::size_t>(n));
    current = target.starts_with('/') ? target : folderOf(current) + "/" + target;
  }
  return std::nullopt;
}

std::optional<Lock> Lock::take(const std::string& path, std::chrono::milliseconds patience) {
  const auto deadline = Clock::now() + patience;
  for (;;) {
    // A folder, a link, a named pipe or a device there is left as it is.
    struct stat existing{};
    if (::lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) return std::nullopt;
    // Read access is all a lock needs, so a lock file of another user's will do.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EINTR) return std::nullopt;
    if (fd >= 0) {
      Descriptor held(fd);
      struct stat heldStat{};
      if (::fstat(fd, &heldStat) != 0 || !S_ISREG(heldStat.st_mode)) return std::nullopt;
      if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // Its last holder removes the file as it lets go; a lock on a file
        // no longer at the path locks nothing.
        struct stat named{};
        if (::lstat(path.c_str(), &named) == 0 && named.st_dev == heldStat.st_dev && named.st_ino == heldStat.st_ino) {
          return Lock(path, held.release());
        }
      } else if (errno != EWOULDBLOCK && errno != EINTR) {
        return std::nullopt;
      }
    }
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(kLockRetry);
  }
}

Lock::Lock(Lock&& other) noexcept : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

Lock::~Lock() {
  if (fd_ < 0) return;
  // Removed before it is let go: a process that then gets the lock on this
  // file finds another one, or none, at the path, and tries again.
  ::unlink(path_.c_str());
  ::close(fd_);
}

bool replace(const std::string& path, const std::string& bytes, std::optional<unsigned> mode) {
  auto [fd, sibling] = createSibling(path);
  if (fd < 0) return false;
  Descriptor file(fd);
  struct stat created{};
  if (!mode && ::fstat(fd, &created) == 0) mode = (created.st_mode & 07777) | S_IRUSR | S_IWUSR;  // whatever the umask
  const bool written = writeAll(fd, bytes) && (!mode || ::fchmod(fd, *mode) == 0) && ::fsync(fd) == 0 &&
                       file.close() && ::rename(sibling.c_str(), path.c_str()) == 0;
  if (!written) {
    ::unlink(sibling.c_str());
    return false;
  }
  // A file system that cannot sync a folder has the file on the disk all the same.
  const Descriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  return true;
}

}  // namespace wuffel::settings_file
