#include "app/single_instance.h"

#include <sys/stat.h>

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>

#include <algorithm>
#include <cstdio>

namespace wuffel {

namespace {
constexpr QByteArrayView kFront = "front\n";
constexpr QByteArrayView kDone = "done\n";

int remainingMs(const QDeadlineTimer& deadline) {
  return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}
}  // namespace

SingleInstance::SingleInstance() : SingleInstance(privateRuntimeFolder(), kPatience) {}

SingleInstance::SingleInstance(const PrivateFolder& folder, std::chrono::milliseconds patience)
    : path_(folder.path.isEmpty() ? QString() : folder.path + QStringLiteral("/wuffel-tennis")),
      patience_(patience),
      problem_(folder.problem) {}

SingleInstance::SingleInstance(QString socketPath, std::chrono::milliseconds patience)
    : path_(std::move(socketPath)), patience_(patience) {}

SingleInstance::~SingleInstance() { server_.close(); }

SingleInstance::Answer SingleInstance::askRunningCopy(const QDeadlineTimer& deadline) const {
  QLocalSocket socket;
  socket.connectToServer(path_);
  if (!socket.waitForConnected(remainingMs(deadline)))
    return socket.state() == QLocalSocket::ConnectingState ? Answer::Silent : Answer::NoCopy;
  socket.write(kFront.data(), kFront.size());
  if (!socket.waitForBytesWritten(remainingMs(deadline))) return Answer::Silent;
  while (socket.bytesAvailable() < kDone.size())
    if (!socket.waitForReadyRead(remainingMs(deadline))) return Answer::Silent;
  return socket.readAll().startsWith(kDone.toByteArray()) ? Answer::Front : Answer::Silent;
}

bool SingleInstance::claim(std::function<void()> bringToFront) {
  if (path_.isEmpty()) {
    report(problem_ + QStringLiteral("; a later start will not find this one"));
    return true;
  }
  const QDeadlineTimer deadline(patience_);
  // Two starts at once take turns; a lock whose holder died is taken over.
  QLockFile lock(path_ + QStringLiteral(".lock"));
  const bool locked = lock.tryLock(remainingMs(deadline));
  const Answer answer = askRunningCopy(deadline);
  if (answer == Answer::Front) return false;
  if (answer == Answer::Silent)
    report(QStringLiteral("the copy already running did not answer within %1 ms; this one starts too")
               .arg(patience_.count()));
  else if (!locked)
    report(QStringLiteral("another copy that is starting kept its lock past %1 ms; this one starts too")
               .arg(patience_.count()));
  bringToFront_ = std::move(bringToFront);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { this->answer(); });
  // Without the socket this copy still runs, it only cannot be found.
  if (!clearSocketPlace())
    report(QStringLiteral("%1 is not a socket and is left alone; a later start will not find this copy").arg(path_));
  else if (!server_.listen(path_))
    report(QStringLiteral("cannot listen at %1 (%2); a later start will not find this copy")
               .arg(path_, server_.errorString()));
  return true;
}

// Only a socket, left by a copy that is gone, is removed from the socket's
// place; anything else there is someone's file.
bool SingleInstance::clearSocketPlace() {
  struct stat status {};
  if (::lstat(QFile::encodeName(path_).constData(), &status) != 0) return true;
  return S_ISSOCK(status.st_mode) && QLocalServer::removeServer(path_);
}

void SingleInstance::report(const QString& problem) {
  problem_ = problem;
  std::fprintf(stderr, "wuffel-tennis: %s\n", qPrintable(problem));
}

void SingleInstance::answer() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
      if (socket->bytesAvailable() < kFront.size()) return;
      if (socket->readAll().startsWith(kFront.toByteArray()) && bringToFront_) bringToFront_();
      socket->write(kDone.data(), kDone.size());
      socket->disconnectFromServer();
    });
  }
}

}  // namespace wuffel
