#include "app/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

namespace wuffel {

namespace {
constexpr std::string_view kFront = "front\n";
constexpr std::string_view kDone = "done\n";
constexpr std::chrono::milliseconds kLockRetry{5};

int remainingMs(const QDeadlineTimer& deadline) {
  return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}

QByteArray localPath(const QString& path) { return QFile::encodeName(path); }

bool addressOf(const QByteArray& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
  return true;
}

// Waits until `fd` is ready for `events` or the deadline passes.
bool ready(int fd, short events, const QDeadlineTimer& deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, remainingMs(deadline));
    if (n > 0) return true;
    if (n == 0 || errno != EINTR) return false;
  }
}

// The lock beside the socket that two starts at once take turns on. The
// kernel lets go of it when its holder dies, so a lock left by a crashed
// copy holds nobody up; the file goes with the lock, and a start that got
// hold of a file already gone tries again on the new one.
class StartLock {
 public:
  StartLock(const QString& path, const QDeadlineTimer& deadline) : path_(localPath(path)) {
    for (;;) {
      fd_ = ::open(path_.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
      if (fd_ < 0) return;
      if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        struct stat held {}, named {};
        if (::fstat(fd_, &held) == 0 && ::stat(path_.constData(), &named) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev) {
          locked_ = true;
          return;
        }
      }
      ::close(fd_);
      fd_ = -1;
      if (deadline.hasExpired()) return;
      std::this_thread::sleep_for(std::min(kLockRetry, std::chrono::milliseconds(remainingMs(deadline))));
    }
  }
  ~StartLock() {
    if (locked_) ::unlink(path_.constData());
    if (fd_ >= 0) ::close(fd_);
  }
  StartLock(const StartLock&) = delete;
  StartLock& operator=(const StartLock&) = delete;
  bool locked() const { return locked_; }

 private:
  QByteArray path_;
  int fd_ = -1;
  bool locked_ = false;
};

}  // namespace

SingleInstance::SingleInstance() : SingleInstance(privateRuntimeFolder(), kPatience) {}

SingleInstance::SingleInstance(const PrivateFolder& folder, std::chrono::milliseconds patience)
    : path_(folder.path.isEmpty() ? QString() : folder.path + QStringLiteral("/wuffel-tennis")),
      patience_(patience),
      problem_(folder.problem) {}

SingleInstance::SingleInstance(QString socketPath, std::chrono::milliseconds patience)
    : path_(std::move(socketPath)), patience_(patience) {}

SingleInstance::~SingleInstance() {
  for (auto& [connection, notifier] : asking_) {
    notifier.reset();
    ::close(connection);
  }
  if (listening_ >= 0) {
    incoming_.reset();
    ::close(listening_);
    ::unlink(localPath(path_).constData());
  }
}

SingleInstance::Answer SingleInstance::askRunningCopy(const QDeadlineTimer& deadline) const {
  sockaddr_un address;
  if (!addressOf(localPath(path_), address)) return Answer::NoCopy;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return Answer::NoCopy;
  const auto answer = [&]() -> Answer {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      // A copy too busy to take the connection is one that does not answer.
      if (errno != EINPROGRESS && errno != EAGAIN) return Answer::NoCopy;
      if (!ready(fd, POLLOUT, deadline)) return Answer::Silent;
      int error = 0;
      socklen_t size = sizeof error;
      if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) return Answer::NoCopy;
    }
    for (std::size_t sent = 0; sent < kFront.size();) {
      if (!ready(fd, POLLOUT, deadline)) return Answer::Silent;
      const ssize_t n = ::send(fd, kFront.data() + sent, kFront.size() - sent, MSG_NOSIGNAL);
      if (n < 0 && errno != EAGAIN && errno != EINTR) return Answer::Silent;
      if (n > 0) sent += static_cast<std::size_t>(n);
    }
    std::string reply;
    while (reply.size() < kDone.size()) {
      if (!ready(fd, POLLIN, deadline)) return Answer::Silent;
      char buffer[16];
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return Answer::Silent;
      if (n > 0) reply.append(buffer, static_cast<std::size_t>(n));
    }
    return reply.starts_with(kDone) ? Answer::Front : Answer::Silent;
  }();
  ::close(fd);
  return answer;
}

bool SingleInstance::claim(std::function<void()> bringToFront) {
  // A write to a peer that hung up fails rather than end the process, as
  // it has always done here (Qt's sockets set this too).
  struct sigaction pipe {};
  if (::sigaction(SIGPIPE, nullptr, &pipe) == 0 && pipe.sa_handler == SIG_DFL) {
    pipe.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &pipe, nullptr);
  }
  if (path_.isEmpty()) {
    report(problem_ + QStringLiteral("; a later start will not find this one"));
    return true;
  }
  const QDeadlineTimer deadline(patience_);
  const StartLock lock(path_ + QStringLiteral(".lock"), deadline);
  const Answer answer = askRunningCopy(deadline);
  if (answer == Answer::Front) return false;
  if (answer == Answer::Silent)
    report(QStringLiteral("the copy already running did not answer within %1 ms; this one starts too")
               .arg(patience_.count()));
  else if (!lock.locked())
    report(QStringLiteral("another copy that is starting kept its lock past %1 ms; this one starts too")
               .arg(patience_.count()));
  bringToFront_ = std::move(bringToFront);
  // Without the socket this copy still runs, it only cannot be found.
  if (!clearSocketPlace())
    report(QStringLiteral("%1 is not a socket and is left alone; a later start will not find this copy").arg(path_));
  else if (!listen())
    report(QStringLiteral("cannot listen at %1 (%2); a later start will not find this copy")
               .arg(path_, QString::fromLocal8Bit(std::strerror(errno))));
  return true;
}

// Only a socket, left by a copy that is gone, is removed from the socket's
// place; anything else there is someone's file.
bool SingleInstance::clearSocketPlace() {
  struct stat status {};
  const QByteArray path = localPath(path_);
  if (::lstat(path.constData(), &status) != 0) return true;
  return S_ISSOCK(status.st_mode) && ::unlink(path.constData()) == 0;
}

// The socket is made in a folder of its own beside its place, open to this
// user alone, and then moved into place: it is never there for others to
// reach, whatever the umask.
bool SingleInstance::listen() {
  const QByteArray path = localPath(path_);
  QByteArray folder = path + ".XXXXXX";
  if (!::mkdtemp(folder.data())) return false;
  const QByteArray made = folder + "/s";
  sockaddr_un address;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  bool good = fd >= 0 && addressOf(made, address) &&
              ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
              ::chmod(made.constData(), S_IRWXU) == 0 && ::listen(fd, 50) == 0 &&
              ::rename(made.constData(), path.constData()) == 0;
  const int error = errno;
  ::unlink(made.constData());
  ::rmdir(folder.constData());
  if (!good) {
    if (fd >= 0) ::close(fd);
    errno = error;
    return false;
  }
  listening_ = fd;
  incoming_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(incoming_.get(), &QSocketNotifier::activated, [this] { accept(); });
  return true;
}

void SingleInstance::report(const QString& problem) {
  problem_ = problem;
  std::fprintf(stderr, "wuffel-tennis: %s\n", qPrintable(problem));
}

void SingleInstance::accept() {
  for (;;) {
    const int connection = ::accept4(listening_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) return;
    auto notifier = std::make_unique<QSocketNotifier>(connection, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [this, connection] { read(connection); });
    asking_[connection] = std::move(notifier);
  }
}

// A later start's question, once it is all there; a start that hangs up
// before is let go.
void SingleInstance::read(int connection) {
  char question[kFront.size()];
  const ssize_t n = ::recv(connection, question, sizeof question, MSG_PEEK);
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
  if (n > 0 && static_cast<std::size_t>(n) < sizeof question) return;
  if (n == static_cast<ssize_t>(sizeof question) && ::recv(connection, question, sizeof question, 0) == n &&
      std::string_view(question, sizeof question) == kFront) {
    if (bringToFront_) bringToFront_();
    ::send(connection, kDone.data(), kDone.size(), MSG_NOSIGNAL);
  }
  drop(connection);
}

void SingleInstance::drop(int connection) {
  const auto it = asking_.find(connection);
  if (it == asking_.end()) return;
  // Its own signal is being handled: it goes once that is done.
  it->second->setEnabled(false);
  it->second.release()->deleteLater();
  asking_.erase(it);
  ::close(connection);
}

}  // namespace wuffel
