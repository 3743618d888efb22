#include "app/ini_file_backend.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include "app/ini_settings_text.h"
#include "app/qt_text.h"
#include "app/settings_file.h"

namespace wuffel {

namespace {

using settings_file::Contents;

// How long a write waits for another process's write to finish; the game
// waits as long.
constexpr std::chrono::milliseconds kLockPatience{100};

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

bool IniFileBackend::openKey(std::string_view path) {
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
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + organization_ + u'/' +
         application_ + QStringLiteral(".conf");
}

bool IniFileBackend::ensureKey() {
  const QString file = location();
  return !file.isEmpty() && QDir().mkpath(QFileInfo(file).absolutePath());
}

StoredValue IniFileBackend::read(std::string_view name) {
  const QString file = location();
  if (file.isEmpty()) return {StoredValue::Outcome::NoKey, false, {}};
  const Contents contents = settings_file::read(localPath(file));
  switch (contents.state) {
    case Contents::State::Read:
      return IniSettingsText(QByteArrayView(contents.bytes.data(), static_cast<qsizetype>(contents.bytes.size())))
          .value(name);
    case Contents::State::Unreadable:
      return {StoredValue::Outcome::NoKey, false, {}};
    case Contents::State::Absent:
    case Contents::State::TooLarge:
    case Contents::State::NotRegular:
      break;
  }
  return {StoredValue::Outcome::Missing, false, {}};
}

WriteOutcome IniFileBackend::updateText(std::string_view name, const WriteDecision& decide) {
  const QString file = location();
  if (file.isEmpty()) return WriteOutcome::NoKey;
  const std::string path = localPath(file);
  // The lock lies beside the path as named, where QSettings kept its own.
  const auto lock = settings_file::Lock::take(path + ".lock", kLockPatience);
  if (!lock) return WriteOutcome::Refused;
  // A link is written through to its file, which is replaced there.
  const auto target = settings_file::resolveLinks(path);
  if (!target) return WriteOutcome::Refused;
  const Contents contents = settings_file::read(*target);
  if (contents.state == Contents::State::Unreadable || contents.state == Contents::State::NotRegular)
    return WriteOutcome::Refused;
  // A file too large to be ours is replaced, like one that cannot be parsed.
  const IniSettingsText ini(contents.state == Contents::State::Read
                                ? QByteArrayView(contents.bytes.data(), static_cast<qsizetype>(contents.bytes.size()))
                                : QByteArrayView());
  const auto text = decide(ini.value(name));
  if (!text) return WriteOutcome::Kept;
  const bool exists = contents.state != Contents::State::Absent;
  // A file its owner made read-only stays as it is.
  if (exists && ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0) return WriteOutcome::Refused;
  const QByteArray written = ini.withValue(name, *text);
  return settings_file::replace(*target, written.toStdString(), exists ? std::optional(contents.mode) : std::nullopt)
             ? WriteOutcome::Written
             : WriteOutcome::Refused;
}

}  // namespace wuffel
