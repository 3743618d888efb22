#include "app/qsettings_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QVariant>

namespace wuffel {

namespace {

struct Place {
  QString group;  // empty for the top level
  QString leaf;
};

Place placeOf(std::string_view name) {
  const auto slash = name.rfind('/');
  if (slash == std::string_view::npos) return {{}, QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))};
  return {QString::fromUtf8(name.data(), static_cast<qsizetype>(slash)),
          QString::fromUtf8(name.data() + slash + 1, static_cast<qsizetype>(name.size() - slash - 1))};
}

bool sameName(const QString& key, const QString& leaf) { return sameValueName(key.toStdString(), leaf.toStdString()); }

// The spelling a read finds: QSettings lists names in order.
QString storedKey(const QSettings& settings, const QString& leaf) {
  for (const QString& key : settings.childKeys())
    if (sameName(key, leaf)) return key;
  return {};
}

class InGroup {
 public:
  InGroup(QSettings& settings, const QString& group) : settings_(settings), entered_(!group.isEmpty()) {
    if (entered_) settings_.beginGroup(group);
  }
  ~InGroup() {
    if (entered_) settings_.endGroup();
  }

 private:
  QSettings& settings_;
  bool entered_;
};

// Removes one value: QSettings' remove takes a group of the same name with it.
void removeValue(QSettings& settings, const QString& key) {
  settings.beginGroup(key);
  QVariantMap inside;
  for (const QString& k : settings.allKeys()) inside.insert(k, settings.value(k));
  settings.endGroup();
  settings.remove(key);
  for (auto i = inside.cbegin(); i != inside.cend(); ++i) settings.setValue(key + u'/' + i.key(), i.value());
}

ino_t inodeOf(const QString& path) {
  struct stat st{};
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

std::unique_ptr<QSettingsCopy> QSettingsCopy::make(const QString& path, const QByteArray& text) {
  const QByteArray local = QFile::encodeName(path);
  const int fd = ::open(local.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  qsizetype done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.constData() + done, static_cast<std::size_t>(text.size() - done));
    if (n <= 0) break;
    done += n;
  }
  if (::close(fd) != 0 || done != text.size()) {
    ::unlink(local.constData());
    return nullptr;
  }
  return std::unique_ptr<QSettingsCopy>(new QSettingsCopy(path));
}

QSettingsCopy::~QSettingsCopy() {
  settings_.reset();
  removeFile();
}

void QSettingsCopy::removeFile() {
  if (!path_.isEmpty()) QFile::remove(std::exchange(path_, QString()));
}

StoredValue QSettingsCopy::value(std::string_view name) {
  const Place place = placeOf(name);
  const InGroup in(*settings_, place.group);
  const QString key = storedKey(*settings_, place.leaf);
  if (key.isEmpty()) return {StoredValue::Outcome::Missing, false, {}};
  const QVariant value = settings_->value(key);
  if (value.typeId() != QMetaType::QString) return {StoredValue::Outcome::Found, false, {}};
  return {StoredValue::Outcome::Found, true, value.toString().toStdString()};
}

std::optional<QByteArray> QSettingsCopy::withText(std::string_view name, const std::string& text) {
  {
    const Place place = placeOf(name);
    const InGroup in(*settings_, place.group);
    const QString kept = storedKey(*settings_, place.leaf);
    for (const QString& key : settings_->childKeys())
      if (key != kept && sameName(key, place.leaf)) removeValue(*settings_, key);
    settings_->setValue(kept.isEmpty() ? place.leaf : kept, QString::fromStdString(text));
  }
  // QSettings puts a written file in place of the old one; its status keeps
  // an earlier complaint about the text instead of a failed write.
  const ino_t before = inodeOf(path_);
  settings_->sync();
  if (inodeOf(path_) == before) return std::nullopt;
  QFile written(path_);
  if (!written.open(QIODevice::ReadOnly)) return std::nullopt;
  return written.readAll();
}

}  // namespace wuffel
