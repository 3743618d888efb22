// Store files that once broke the reading, or might: each must read
// without a crash, as 0 or a clean error, and stay as it is.
#include <gtest/gtest.h>

#include <QDirIterator>

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
      const std::string error = errorOf([&] { s.store.readInteger("", name, 0); });
      EXPECT_TRUE(error == "no error" || error == "Invalid data type for '" + std::string(name) + "'")
          << input.fileName().toStdString() << ": " << error;
    }
    EXPECT_TRUE(folder.fileText() == bytes) << input.fileName().toStdString();
    ++files;
  }
  EXPECT_GE(files, 5);
}

}  // namespace
}  // namespace wuffel
