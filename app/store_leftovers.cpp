#include "app/store_leftovers.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "app/store_lock.h"

namespace wuffel {

namespace {
constexpr QLatin1StringView kCopyMark(".new-");
constexpr QLatin1StringView kReadyMark(".ready");
}  // namespace

std::unique_ptr<QTemporaryDir> makePrivateFolder() {
  const QString memory = QStringLiteral("/dev/shm");
  const QDir base(QFileInfo(memory).isDir() && QFileInfo(memory).isWritable() ? memory : QDir::tempPath());
  const QString prefix = QStringLiteral("wuffel-store-");
  for (const QFileInfo& folder : base.entryInfoList({prefix + u'*'}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
    const pid_t pid = folder.fileName().sliced(prefix.size()).section(u'-', 0, 0).toInt();
    if (folder.ownerId() == ::getuid() && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
      QDir(folder.filePath()).removeRecursively();
  }
  return std::make_unique<QTemporaryDir>(base.filePath(prefix + QString::number(::getpid()) + QStringLiteral("-XXXXXX")));
}

QString readyTextName(const QString& file) {
  static std::atomic<unsigned> serial{0};
  return file + kCopyMark + QString::number(::getpid()) + u'-' + QString::number(serial++) + kReadyMark;
}

void removeLeftovers(const QString& file) {
  const QFileInfo info(file);
  const QDir folder = info.dir();
  const QString name = info.fileName();
  // QSaveFile names a new file for the moment before it takes the old one's place.
  static const QRegularExpression saveFileName(QStringLiteral("^\\.[A-Za-z0-9]{6}$"));
  // QLockFile's lock for removing a lock left behind, and its own such lock.
  static const QRegularExpression lockOfLock(QStringLiteral("^\\.lock(\\.rmlock)+$"));
  static const QRegularExpression readyText(QStringLiteral("^\\.new-[0-9]+-[0-9]+\\.ready$"));
  std::vector<std::string> readyTexts;
  QStringList newFiles;
  for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
    if (!entry.startsWith(name) || entry.size() == name.size()) continue;
    const QStringView rest = QStringView(entry).sliced(name.size());
    const QString path = folder.filePath(entry);
    if (rest.startsWith(kCopyMark)) {
      if (readyText.match(rest).hasMatch()) {
        const auto copy = settings_file::read(QFile::encodeName(path).toStdString());
        if (copy.state == settings_file::Contents::State::Read) readyTexts.push_back(copy.bytes);
      }
      QFile::remove(path);
    } else if (lockOfLock.match(rest).hasMatch()) {
      removeUnheldLock(path);
    } else if (saveFileName.match(rest).hasMatch()) {
      newFiles.push_back(path);
    }
  }
  for (const QString& path : newFiles) {
    const auto bytes = settings_file::read(QFile::encodeName(path).toStdString());
    if (bytes.state == settings_file::Contents::State::Read &&
        std::find(readyTexts.begin(), readyTexts.end(), bytes.bytes) != readyTexts.end())
      QFile::remove(path);
  }
}

}  // namespace wuffel
