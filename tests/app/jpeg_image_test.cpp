// Damaged photographs: every one decodes to a whole picture or to none,
// without a crash, whatever libjpeg's error handling jumps over.
#include <gtest/gtest.h>

#include <QFile>

#include "app/jpeg_image.h"

namespace wuffel {
namespace {

TEST(JpegImage, DamagedDataGivesAWholePictureOrNone) {
  QFile file(QStringLiteral(WUFFEL_SOURCE_DIR "/assets/windows/Im_Foto.jpg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray whole = file.readAll();
  const QImage intact = decodeJpeg(whole);
  ASSERT_FALSE(intact.isNull());
  int none = 0;
  for (qsizetype at = 0; at < whole.size(); at += 97) {
    for (const QByteArray& damaged : {whole.left(at), QByteArray(whole).replace(at, 1, "\xff"),
                                      QByteArray(whole).replace(at, 2, "\xff\xc4")}) {
      const QImage image = decodeJpeg(damaged);
      if (image.isNull()) {
        ++none;
        continue;
      }
      EXPECT_EQ(image.size(), intact.size()) << at;
      EXPECT_EQ(image.format(), QImage::Format_RGB32);
    }
  }
  EXPECT_GT(none, 0) << "no damage was refused";
  EXPECT_TRUE(decodeJpeg(QByteArray()).isNull());
}

}  // namespace
}  // namespace wuffel
