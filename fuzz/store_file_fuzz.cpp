// Feeds arbitrary bytes to the best-score store as its settings file. Reading
// must give a number or a clean WuffelError, find what QSettings finds, and
// leave the file as it is; a write must replace the value, under one name,
// so that it reads back, and keep every other value QSettings finds; a file
// too large to read whole is never replaced.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "app/ini_file_backend.h"
#include "app/settings_file.h"
#include "platform/error.h"
#include "store/hiscore_store.h"
#include "tests/store/qsettings_reference.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "store_file_fuzz: %s\n", what);
  std::abort();
}

QByteArray fileText(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void read(wuffel::HiScoreStore& store, const char* name) {
  try {
    store.readInteger(name, 0);
  } catch (const wuffel::WuffelError& e) {
    if (std::string(e.what()) != "Invalid data type for '" + std::string(name) + "'") fail(e.what());
  }
}

// QSettings keeps what it read of a path while the file's size and time
// stay the same, which a rewrite may well keep: it reads each text from a
// file of its own.
class ForQSettings {
 public:
  explicit ForQSettings(const QByteArray& text) : path_(folder().path() + "/" + QString::number(serial_++) + ".conf") {
    QFile f(path_);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) fail("cannot write a file for QSettings");
  }
  ~ForQSettings() { QFile::remove(path_); }
  const QString& path() const { return path_; }

 private:
  static const QTemporaryDir& folder() {
    static const QTemporaryDir dir;
    return dir;
  }
  static inline qint64 serial_ = 0;
  QString path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const QTemporaryDir folder;
  static const QString path = folder.path() + "/WuffelTennis.conf";
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
      fail("cannot write the input");
  }
  {
    const bool parsed = size <= wuffel::settings_file::kMaxFileSize;
    const ForQSettings input(parsed ? bytes : QByteArray());
    wuffel::IniFileBackend backend(path);
    wuffel::HiScoreStore store(backend, wuffel::kHiScoreKey);
    for (const char* name : {"HiscoreA", "HiscoreB"}) {
      read(store, name);
      const wuffel::StoredValue ours = backend.read(name);
      const wuffel::StoredValue theirs = wuffel::testing::readByQSettings(input.path(), name);
      if (ours.outcome != theirs.outcome || ours.isText != theirs.isText || ours.text != theirs.text)
        fail("a value reads otherwise than QSettings reads it");
    }
    if (fileText(path) != bytes) fail("a read changed the file");

    if (!parsed) {
      // Too large to read whole: never replaced.
      try {
        store.writeInteger("HiScoreA", 4321);
        fail("a file too large to read was replaced");
      } catch (const wuffel::WuffelError&) {
      }
      if (fileText(path) != bytes) fail("a file too large to read changed");
      QFile::remove(path);
      return 0;
    }
    store.writeInteger("HiScoreA", 4321);
    if (store.readInteger("HiscoreA", 0) != 4321) fail("the written value does not read back");
    const ForQSettings written(fileText(path));
    int spellings = 0;
    for (const QString& key : QSettings(written.path(), QSettings::IniFormat).childKeys())
      if (wuffel::sameValueName(key.toStdString(), "HiScoreA")) ++spellings;
    if (spellings != 1) fail("the value is there under more than one name");
    if (wuffel::testing::othersByQSettings(written.path(), "HiScoreA") !=
        wuffel::testing::othersByQSettings(input.path(), "HiScoreA"))
      fail("a write changed another value");
  }
  QFile::remove(path);
  return 0;
}
