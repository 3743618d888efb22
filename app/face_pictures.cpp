#include "app/face_pictures.h"

#include <QFile>
#include <cstdio>

#include "app/jpeg_image.h"

namespace wuffel {

QString FacePictures::assetPath(ElementId owner) {
  const auto& s = elementInfo(owner);
  const QString name = QString::fromLatin1(s.name.data(), static_cast<int>(s.name.size()));
  const bool photo = s.kind == ElementKind::FacePhoto || s.kind == ElementKind::ButtonPicture;
  return photo ? QStringLiteral(":/assets/face/%1.jpg").arg(name) : QStringLiteral(":/assets/segments/%1.bmp").arg(name);
}

QImage FacePictures::seeThroughVersion(const QImage& bitmap) {
  QImage out(bitmap.size(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < bitmap.height(); ++y)
    for (int x = 0; x < bitmap.width(); ++x)
      out.setPixel(x, y, qGray(bitmap.pixel(x, y)) < 128 ? 0xff000000u : 0x00000000u);
  return out;
}

FacePictures::FacePictures() {
  for (const auto& e : kElements) {
    if (e.picture != PictureOrigin::Own) continue;
    const QString path = assetPath(e.id);
    QFile file(path);
    QImage image;
    if (file.open(QIODevice::ReadOnly)) {
      const QByteArray data = file.readAll();
      image = path.endsWith(".jpg") ? decodeJpeg(data) : QImage::fromData(data, "BMP");
    }
    if (image.isNull() || image.size() != QSize(e.width, e.height)) {
      std::fprintf(stderr, "wuffel-tennis: picture %s is missing or has the wrong size\n",
                   qPrintable(path));
      image = QImage();
    }
    original_[indexOf(e.id)] = image;
    if (!image.isNull()) seeThrough_[indexOf(e.id)] = seeThroughVersion(image);
  }
}

const QImage& FacePictures::forDrawing(ElementId owner, ElementId target) const {
  return elementInfo(target).seeThrough() ? seeThrough_[indexOf(owner)] : original_[indexOf(owner)];
}

}  // namespace wuffel
