#include "app/private_runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

namespace wuffel {

PrivateFolder privateRuntimeFolder() {
  // Qt makes its stand-in folder when XDG_RUNTIME_DIR is not set, and gives
  // nothing where that fails (the name is taken by another user): an empty
  // path is no folder, never the root's.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty())
    return {{}, QStringLiteral("no runtime folder is this user's alone "
                               "(XDG_RUNTIME_DIR is not set, or others can reach it)")};
  if (const QString problem = whyNotPrivate(folder); !problem.isEmpty()) return {{}, problem};
  return {folder, {}};
}

QString whyNotPrivate(const QString& folder) {
  if (!QDir::isAbsolutePath(folder)) return QStringLiteral("the runtime folder %1 is not an absolute path").arg(folder);
  struct stat status {};
  // A symbolic link is refused too: whoever made it can point it elsewhere.
  if (::lstat(QFile::encodeName(folder).constData(), &status) != 0)
    return QStringLiteral("the runtime folder %1 cannot be used: %2")
        .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
  if (!S_ISDIR(status.st_mode)) return QStringLiteral("the runtime folder %1 is not a folder").arg(folder);
  if (status.st_uid != ::geteuid())
    return QStringLiteral("the runtime folder %1 belongs to another user").arg(folder);
  if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0)
    return QStringLiteral("the runtime folder %1 is open to other users").arg(folder);
  return {};
}

}  // namespace wuffel
