#include "store/qsettings_backend.h"

#include <algorithm>
#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace wuffel {

namespace {
QString qt(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The names the store holds that compare equal to `name`. A name
// "Group/value" is a value of that group (an INI file's [Group] section).
QStringList storedNames(QSettings& settings, std::string_view name) {
  const QString full = qt(name);
  const qsizetype slash = full.lastIndexOf(QLatin1Char('/'));
  const QString group = full.left(std::max<qsizetype>(slash, 0));
  if (!group.isEmpty()) settings.beginGroup(group);
  QStringList found;
  for (const QString& key : settings.childKeys())
    if (sameValueName(key.toStdString(), full.mid(slash + 1).toStdString()))
      found << (group.isEmpty() ? key : group + QLatin1Char('/') + key);
  if (!group.isEmpty()) settings.endGroup();
  return found;
}

std::optional<QString> storedName(QSettings& settings, std::string_view name) {
  const QStringList found = storedNames(settings, name);
  if (found.isEmpty()) return std::nullopt;
  return found.front();
}

// QSettings' own sync writes the file atomically under a lock; this also
// makes sure it is on the disk, and its new name in the folder, before the
// write counts as done.
bool flushToDisk(const QString& path) {
#ifdef Q_OS_UNIX
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || ::fsync(file.handle()) != 0) return false;
  // QFile will not open a folder. A file system that cannot sync one has
  // the file's data on the disk all the same.
  const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
#else
  (void)path;
#endif
  return true;
}
}  // namespace

bool QSettingsBackend::openKey(std::string_view path) {
  // "Software\Maker\App" names QSettings' organisation and application.
  const QStringList parts = qt(path).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  if (parts.size() >= 3) {
    organization_ = parts[1];
    application_ = parts[2];
  }
  return ensureKey();
}

QString QSettingsBackend::location() const {
  if (!iniFile_.isEmpty()) return iniFile_;
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, organization_, application_).fileName();
}

bool QSettingsBackend::ensureKey() {
  const QFileInfo where(location());
  // A registry path is no file: the registry makes the key itself.
  if (!where.isAbsolute()) return true;
  return QDir().mkpath(where.absolutePath());
}

static std::unique_ptr<QSettings> openSettings(const QString& iniFile, const QString& org, const QString& app) {
  if (!iniFile.isEmpty()) return std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, org, app);
}

StoredValue QSettingsBackend::read(std::string_view name) {
  const auto settings = openSettings(iniFile_, organization_, application_);
  if (settings->status() == QSettings::AccessError) return {StoredValue::Outcome::NoKey, false, {}};
  const auto key = storedName(*settings, name);
  if (!key) return {StoredValue::Outcome::Missing, false, {}};
  const QVariant value = settings->value(*key);
  if (value.typeId() != QMetaType::QString) return {StoredValue::Outcome::Found, false, {}};
  return {StoredValue::Outcome::Found, true, value.toString().toStdString()};
}

WriteOutcome QSettingsBackend::writeText(std::string_view name, std::string_view text) {
  auto settings = openSettings(iniFile_, organization_, application_);
  // A file that cannot be parsed is replaced by this write, but its
  // FormatError would stay in the status and hide whether the write worked.
  // QSettings parses lazily, so parse all of it now; it keeps what it
  // parsed, so a second opening starts clean.
  settings->allKeys();
  if (settings->status() == QSettings::FormatError) settings = openSettings(iniFile_, organization_, application_);
  const QString key = storedName(*settings, name).value_or(qt(name));
  // Other spellings of the same name would be read first at the next start.
  for (const QString& other : storedNames(*settings, name))
    if (other != key) settings->remove(other);
  settings->setValue(key, qt(text));
  settings->sync();
  if (settings->status() != QSettings::NoError || !settings->isWritable()) return WriteOutcome::Refused;
  return flushToDisk(settings->fileName()) ? WriteOutcome::Written : WriteOutcome::Refused;
}

}  // namespace wuffel
