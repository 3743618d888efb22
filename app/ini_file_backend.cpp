#include "app/ini_file_backend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "app/qsettings_copy.h"
#include "app/qt_text.h"
#include "app/settings_file.h"
#include "app/store_leftovers.h"
#include "app/store_lock.h"

namespace wuffel {

namespace {

using settings_file::Contents;

// How long a write waits for another process's write to finish; the game
// waits as long.
constexpr std::chrono::milliseconds kLockPatience{100};

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The user's configuration folder by the freedesktop rule, which ignores a
// relative XDG_CONFIG_HOME: it would put the settings wherever the program
// was started.
QString userConfigFolder() {
  const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!configHome.isEmpty() && QDir::isRelativePath(configHome)) return QDir::homePath() + QStringLiteral("/.config");
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QByteArray bytesOf(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

// Why a file there is not read, in words for the player; empty for one that is.
QString unreadReason(const QString& file, Contents::State state) {
  switch (state) {
    case Contents::State::Absent:
    case Contents::State::Read:
      return {};
    case Contents::State::TooLarge:
      return QStringLiteral("%1 is over %2 MiB, larger than any settings file of the program: it is left as it is.")
          .arg(file)
          .arg(settings_file::kMaxFileSize >> 20);
    case Contents::State::NotRegular:
      return QStringLiteral("%1 is not a plain file.").arg(file);
    case Contents::State::Unreadable:
      return QStringLiteral("%1 cannot be read.").arg(file);
  }
  return {};
}

}  // namespace

IniFileBackend::IniFileBackend() = default;
IniFileBackend::IniFileBackend(QString iniFile) : iniFile_(std::move(iniFile)) {}
IniFileBackend::~IniFileBackend() = default;

bool IniFileBackend::useKey(std::string_view path) {
  // "Software\Maker\App" names the organisation and the application, whose
  // file QSettings keeps as "Maker/App.conf".
  const QStringList parts = qtText(path).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  if (parts.size() < 3) return false;
  organization_ = parts[1];
  application_ = parts[2];
  return true;
}

QString IniFileBackend::location() const {
  if (!iniFile_.isEmpty()) return iniFile_;
  if (organization_.isEmpty()) return {};
  return userConfigFolder() + u'/' + organization_ + u'/' + application_ + QStringLiteral(".conf");
}

bool IniFileBackend::ensureKey() {
  const QString file = location();
  const QString folder = QFileInfo(file).absolutePath();
  if (!file.isEmpty() && QDir().mkpath(folder)) return true;
  refusal_ = QStringLiteral("The folder %1 cannot be made.").arg(folder);
  return false;
}

std::unique_ptr<QSettingsCopy> IniFileBackend::makeCopy(const std::string& text) {
  if (!privateFolder_) privateFolder_ = makePrivateFolder();
  if (!privateFolder_->isValid()) return nullptr;
  return QSettingsCopy::make(privateFolder_->filePath(QString::number(copies_++)), bytesOf(text));
}

QSettingsCopy* IniFileBackend::parsed(const std::string& text) {
  if (parsed_ && text == parsedText_) return parsed_.get();
  parsed_ = makeCopy(text);
  if (!parsed_) return nullptr;
  parsed_->removeFile();
  parsedText_ = text;
  return parsed_.get();
}

StoredValue IniFileBackend::read(std::string_view name) {
  const QString file = location();
  if (file.isEmpty()) return {StoredValue::Outcome::NoKey, false, {}};
  const Contents contents = settings_file::read(localPath(file));
  switch (contents.state) {
    case Contents::State::Read:
      if (QSettingsCopy* settings = parsed(contents.bytes)) return settings->value(name);
      return {StoredValue::Outcome::NoKey, false, {}};
    case Contents::State::Unreadable:
      return {StoredValue::Outcome::NoKey, false, {}};
    case Contents::State::Absent:
    case Contents::State::TooLarge:
    case Contents::State::NotRegular:
      break;
  }
  return {StoredValue::Outcome::Missing, false, {}};
}

WriteOutcome IniFileBackend::refuse(QString why) {
  refusal_ = std::move(why);
  return WriteOutcome::Refused;
}

WriteOutcome IniFileBackend::updateText(std::string_view name, const WriteDecision& decide) {
  refusal_.clear();
  const QString file = location();
  if (file.isEmpty()) return WriteOutcome::NoKey;
  // The lock lies beside the path as named, where QSettings kept its own.
  QString why;
  const auto lock = takeStoreLock(file + QStringLiteral(".lock"), kLockPatience, why);
  if (!lock) return refuse(why);
  removeLeftovers(file);
  // A link is written through to its file: only a regular file, or none, is replaced.
  const Contents contents = settings_file::read(localPath(file));
  if (const QString unread = unreadReason(file, contents.state); !unread.isEmpty()) return refuse(unread);
  const QString cannotWrite = QStringLiteral("%1 cannot be written.").arg(file);
  const auto copy = makeCopy(contents.bytes);
  if (!copy) return refuse(cannotWrite);
  const auto text = decide(copy->value(name));
  if (!text) return WriteOutcome::Kept;
  const auto written = copy->withText(name, *text);
  if (!written) return refuse(cannotWrite);
  // Left beside the file until the write is done, so that the next write
  // can tell QSaveFile's new file by it if this one is killed meanwhile.
  QFile ready(readyTextName(file));
  const auto removeReady = qScopeGuard([&ready] { ready.remove(); });
  if (!ready.open(QIODevice::WriteOnly | QIODevice::NewOnly) || ready.write(*written) != written->size() ||
      !ready.flush())
    return refuse(cannotWrite);
  // A file its owner made read-only stays as it is; a new one is always
  // readable and writable by its owner, whatever the umask.
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(*written) != written->size() || !out.commit())
    return refuse(cannotWrite);
  if (contents.state == Contents::State::Absent)
    QFile::setPermissions(file, QFile::permissions(file) | QFile::ReadOwner | QFile::WriteOwner);
  settings_file::syncFolderOf(file);
  return WriteOutcome::Written;
}

}  // namespace wuffel
