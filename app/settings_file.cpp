#include "app/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

namespace wuffel::settings_file {

namespace {

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

 private:
  int fd_;
};

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
  if (result.state != Contents::State::Read) return result;
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

void syncFolderOf(const QString& file) {
  const QFileInfo target(QFileInfo(file).canonicalFilePath());
  // A file system that cannot sync a folder has the file on the disk all the same.
  const Descriptor folder(::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
}

}  // namespace wuffel::settings_file
