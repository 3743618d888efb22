#include "app/store_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cerrno>

#include <QFile>
#include <QSysInfo>

#include <thread>

namespace wuffel {

namespace {

using Clock = std::chrono::steady_clock;

// How long a waiting lock sleeps between two tries.
constexpr std::chrono::milliseconds kRetry{2};
// How long a lock file must stay the same file before a lock nobody holds
// counts as left behind: far longer than a holder takes between making the
// file and locking it, or between letting it go and removing it.
constexpr std::chrono::milliseconds kLeftBehindAfter{30};

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Removes the file at `path` if it is `expected` (or any regular file, with
// none expected) and no process holds a lock on it: the lock taken here
// keeps another remover from removing a newer lock file meanwhile.
bool removeIfUnheld(const QByteArray& path, const struct stat* expected) {
  const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat opened{};
  struct stat named{};
  const bool removed = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                       (!expected || sameFile(opened, *expected)) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                       ::lstat(path.constData(), &named) == 0 && sameFile(opened, named) &&
                       ::unlink(path.constData()) == 0;
  ::close(fd);
  return removed;
}

// The lock file names a process of this machine that has ended. It names
// none before its holder has locked it.
bool holderHasEnded(const QLockFile& lock) {
  qint64 pid = 0;
  QString host;
  QString application;
  if (!lock.getLockInfo(&pid, &host, &application) || pid <= 0) return false;
  if (!host.isEmpty() && host != QSysInfo::machineHostName()) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

}  // namespace

bool removeUnheldLock(const QString& path) { return removeIfUnheld(QFile::encodeName(path), nullptr); }

std::unique_ptr<QLockFile> takeStoreLock(const QString& path, std::chrono::milliseconds patience, QString& why) {
  const QByteArray local = QFile::encodeName(path);
  auto lock = std::make_unique<QLockFile>(path);
  const auto deadline = Clock::now() + patience;
  // The lock file as first seen there, and when.
  bool seenOne = false;
  struct stat seen{};
  Clock::time_point seenAt;
  for (;;) {
    // QLockFile is asked only where there is no lock file: it would read a
    // named pipe there, and when it removes a lock left behind it leaves a
    // lock of its own if it is killed meanwhile.
    struct stat present{};
    const auto now = Clock::now();
    if (::lstat(local.constData(), &present) != 0) {
      if (lock->tryLock(0)) return lock;
      if (lock->error() != QLockFile::LockFailedError) {
        why = QStringLiteral("The settings file's lock %1 cannot be made.").arg(path);
        return nullptr;
      }
    } else if (!S_ISREG(present.st_mode)) {
      why = QStringLiteral("%1 is in the way of the settings file's lock.").arg(path);
      return nullptr;
    } else if (!seenOne || !sameFile(seen, present)) {
      seenOne = true;
      seen = present;
      seenAt = now;
      if (holderHasEnded(*lock) && removeIfUnheld(local, &present)) continue;
    } else if (now - seenAt >= kLeftBehindAfter && removeIfUnheld(local, &present)) {
      continue;
    }
    if (now >= deadline) {
      why = QStringLiteral("Another copy of the program was writing the settings file.");
      return nullptr;
    }
    std::this_thread::sleep_for(kRetry);
  }
}

}  // namespace wuffel
