// Feeds arbitrary bytes to the best-score store as its settings file. Reading
// must give a number or a clean WuffelError, find what QSettings finds (the
// store kept its files through QSettings before), and leave the file as it
// is; a write must replace the value, under one name, so that it reads back,
// and keep every other value QSettings finds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QDateTime>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "platform/error.h"
#include "store/hiscore_store.h"
#include "store/qsettings_backend.h"
#include "store/settings_file.h"
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
    store.readInteger("", name, 0);
  } catch (const wuffel::WuffelError& e) {
    if (std::string(e.what()) != "Invalid data type for '" + std::string(name) + "'") fail(e.what());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const QTemporaryDir folder;
  static const QString path = folder.path() + "/WuffelTennis.conf";
  static qint64 serial = 0;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
      fail("cannot write the input");
    // QSettings keeps what it read of a path while the file's size and time
    // stay the same: a time of its own for each input.
    f.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000 + serial++), QFileDevice::FileModificationTime);
  }
  {
    wuffel::QSettingsBackend backend(path);
    wuffel::HiScoreStore store(backend, wuffel::kHiScoreKey);
    for (const char* name : {"HiscoreA", "HiscoreB"}) {
      read(store, name);
      const wuffel::StoredValue ours = backend.read(name);
      const wuffel::StoredValue theirs = size <= wuffel::settings_file::kMaxFileSize
                                             ? wuffel::testing::readByQSettings(path, name)
                                             : wuffel::StoredValue{};
      if (ours.outcome != theirs.outcome || ours.isText != theirs.isText || ours.text != theirs.text)
        fail("a value reads otherwise than QSettings reads it");
    }
    if (fileText(path) != bytes) fail("a read changed the file");
    const QVariantMap others = size <= wuffel::settings_file::kMaxFileSize
                                   ? wuffel::testing::othersByQSettings(path, "HiScoreA")
                                   : QVariantMap();

    store.writeInteger("", "HiScoreA", 4321);
    if (store.readInteger("", "HiscoreA", 0) != 4321) fail("the written value does not read back");
    int spellings = 0;
    for (const QString& key : QSettings(path, QSettings::IniFormat).childKeys())
      if (wuffel::sameValueName(key.toStdString(), "HiScoreA")) ++spellings;
    if (spellings != 1) fail("the value is there under more than one name");
    if (wuffel::testing::othersByQSettings(path, "HiScoreA") != others) fail("a write changed another value");
  }
  QFile::remove(path);
  return 0;
}
