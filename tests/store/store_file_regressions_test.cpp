// Store files that once broke the store, or might: each must read without
// a crash, as a number or a clean error, and stay as it is; then a write
// replaces the value under one name.
#include <gtest/gtest.h>

#include <QDirIterator>

#include <algorithm>

#include "error_of.h"
#include "store_file.h"

namespace wuffel {
namespace {

using testing::errorOf;
using testing::FileStore;

TEST(StoreFileRegressions, EveryKeptFileReadsWithoutHarmAndStaysAsItIs) {
  int files = 0;
  QDirIterator it(WUFFEL_STORE_REGRESSIONS, QDir::Files);
  while (it.hasNext()) {
    QFile input(it.next());
    ASSERT_TRUE(input.open(QIODevice::ReadOnly));
    const QByteArray bytes = input.readAll();
    const testing::StoreFolder folder;  // one each: QSettings keeps what it read of a path
    folder.putFile(bytes);
    FileStore s;
    for (const char* name : {"HiscoreA", "HiscoreB"}) {
      const std::string error = errorOf([&] { s.store.readInteger(name, 0); });
      EXPECT_TRUE(error == "no error" || error == "Invalid data type for '" + std::string(name) + "'")
          << input.fileName().toStdString() << ": " << error;
    }
    EXPECT_TRUE(folder.fileText() == bytes) << input.fileName().toStdString();

    s.store.writeInteger("HiScoreA", 4321);
    EXPECT_EQ(FileStore{}.store.readInteger("HiscoreA", 0), 4321) << input.fileName().toStdString();
    const QStringList keys = QSettings(folder.file(), QSettings::IniFormat).childKeys();
    EXPECT_EQ(std::count_if(keys.begin(), keys.end(),
                            [](const QString& k) { return sameValueName(k.toStdString(), "HiScoreA"); }),
              1)
        << input.fileName().toStdString();
    ++files;
  }
  EXPECT_GE(files, 5);
}

}  // namespace
}  // namespace wuffel
