#include "app/single_instance.h"

#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace wuffel {

namespace {
constexpr QByteArrayView kFront = "front\n";
constexpr QByteArrayView kDone = "done\n";
// A running copy answers within a few event-loop turns; one that takes
// longer is stuck, and a new start goes ahead rather than wait on it.
constexpr int kAnswerMs = 1000;
constexpr int kLockMs = 2000;
}  // namespace

SingleInstance::SingleInstance(QString socketPath) : path_(std::move(socketPath)) {}

SingleInstance::~SingleInstance() { server_.close(); }

QString SingleInstance::defaultSocketPath() {
  // The runtime folder is the user's own (mode 0700), so no one else can
  // put a socket where this one goes.
  return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/wuffel-tennis");
}

bool SingleInstance::askRunningCopy() const {
  QLocalSocket socket;
  socket.connectToServer(path_);
  if (!socket.waitForConnected(kAnswerMs)) return false;
  socket.write(kFront.data(), kFront.size());
  if (!socket.waitForBytesWritten(kAnswerMs)) return false;
  while (socket.bytesAvailable() < kDone.size())
    if (!socket.waitForReadyRead(kAnswerMs)) return false;
  return socket.readAll().startsWith(kDone.toByteArray());
}

bool SingleInstance::claim(std::function<void()> bringToFront) {
  // Two starts at once take turns; a lock whose holder died is taken over.
  QLockFile lock(path_ + QStringLiteral(".lock"));
  const bool locked = lock.tryLock(kLockMs);
  if (askRunningCopy()) return false;
  bringToFront_ = std::move(bringToFront);
  QLocalServer::removeServer(path_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { answer(); });
  // Without the socket this copy still runs, it only cannot be found.
  server_.listen(path_);
  if (locked) lock.unlock();
  return true;
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
