#include "app/face_pictures.h"

#include <QBitmap>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/jpeg_image.h"

namespace wuffel {

namespace {

constexpr int kLargestAssetScale = 3;
const QString kCaseOutlinePath = QStringLiteral(":/assets/face/case-outline.bmp");

// Liquid crystal: a very dark grey through which the screen faintly shows,
// and the shadow it casts on the reflector behind it.
constexpr QRgb kCrystalColour = qRgb(22, 26, 20);
constexpr float kCrystalOpacity = 0.88f;
constexpr QRgb kShadowColour = qRgb(52, 60, 40);
constexpr float kShadowOpacity = 0.30f;

bool isPhotograph(const ElementInfo& e) {
  return e.kind == ElementKind::FacePhoto || e.kind == ElementKind::ButtonPicture;
}

QImage load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = file.readAll();
  return path.endsWith(QLatin1String(".jpg")) ? decodeJpeg(data) : QImage::fromData(data, "BMP");
}

QSize onDevice(int width, int height, qreal devicePixelRatio) {
  return {qRound(width * devicePixelRatio), qRound(height * devicePixelRatio)};
}

// Coverage of the black pixels, 0 to 1, at `size`.
std::vector<float> coverage(const QImage& bitmap, QSize size) {
  const QImage grey = bitmap.convertToFormat(QImage::Format_Grayscale8);
  QImage alpha(bitmap.size(), QImage::Format_Alpha8);
  for (int y = 0; y < bitmap.height(); ++y) {
    const uchar* in = grey.constScanLine(y);
    uchar* row = alpha.scanLine(y);
    for (int x = 0; x < bitmap.width(); ++x) row[x] = in[x] < 128 ? 255 : 0;
  }
  if (alpha.size() != size) alpha = alpha.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  std::vector<float> out(static_cast<size_t>(size.width()) * size.height());
  for (int y = 0; y < size.height(); ++y) {
    const uchar* row = alpha.constScanLine(y);
    for (int x = 0; x < size.width(); ++x) out[static_cast<size_t>(y) * size.width() + x] = row[x] / 255.0f;
  }
  return out;
}

// A box blur of `radius` along rows, then along columns.
void blur(std::vector<float>& a, int width, int height, int radius) {
  std::vector<float> line;
  auto pass = [&](int count, int length, auto at) {
    line.resize(length);
    for (int i = 0; i < count; ++i) {
      for (int k = 0; k < length; ++k) line[k] = at(i, k);
      for (int k = 0; k < length; ++k) {
        float sum = 0;
        for (int d = -radius; d <= radius; ++d)
          if (k + d >= 0 && k + d < length) sum += line[k + d];
        at(i, k) = sum / (2 * radius + 1);
      }
    }
  };
  pass(height, width, [&](int y, int x) -> float& { return a[static_cast<size_t>(y) * width + x]; });
  pass(width, height, [&](int x, int y) -> float& { return a[static_cast<size_t>(y) * width + x]; });
}

QImage photographInCase(const QImage& photo, QSize size, const QImage& outline) {
  QImage out = photo.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (out.size() != size) out = out.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (outline.isNull()) return out;
  // The window's shape follows whole face pixels, so the corners do too.
  const QImage inside = outline.convertToFormat(QImage::Format_Grayscale8)
                            .scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  for (int y = 0; y < size.height(); ++y) {
    const uchar* in = inside.constScanLine(y);
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < size.width(); ++x)
      if (in[x] >= 128) row[x] = 0;
  }
  return out;
}

// A two-colour bitmap as lit liquid crystal, `size` device pixels large plus
// the shadow's reach.
QImage liquidCrystal(const QImage& bitmap, QSize size, qreal devicePixelRatio) {
  const int reach = qRound(FacePictures::kShadowReach * devicePixelRatio);
  const int offset = std::max(1, qRound(devicePixelRatio));
  const int w = size.width() + reach, h = size.height() + reach;
  const std::vector<float> crystal = coverage(bitmap, size);
  std::vector<float> shadow(static_cast<size_t>(w) * h, 0.0f);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      shadow[static_cast<size_t>(y + offset) * w + x + offset] = crystal[static_cast<size_t>(y) * size.width() + x];
  if (reach > offset) blur(shadow, w, h, reach - offset);

  QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const bool inPicture = x < size.width() && y < size.height();
      const float t = inPicture ? crystal[static_cast<size_t>(y) * size.width() + x] * kCrystalOpacity : 0.0f;
      const float s = shadow[static_cast<size_t>(y) * w + x] * kShadowOpacity * (1 - t);
      auto channel = [&](int crystalPart, int shadowPart) { return qRound(t * crystalPart + s * shadowPart); };
      row[x] = qRgba(channel(qRed(kCrystalColour), qRed(kShadowColour)),
                     channel(qGreen(kCrystalColour), qGreen(kShadowColour)),
                     channel(qBlue(kCrystalColour), qBlue(kShadowColour)), qRound((t + s) * 255));
    }
  }
  return out;
}

}  // namespace

QString FacePictures::assetPath(ElementId owner, int scale) {
  const auto& s = elementInfo(owner);
  const QString name = QString::fromLatin1(s.name.data(), static_cast<int>(s.name.size()));
  const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
  return isPhotograph(s) ? QStringLiteral(":/assets/face/%1%2.jpg").arg(name, suffix)
                         : QStringLiteral(":/assets/segments/%1%2.bmp").arg(name, suffix);
}

int FacePictures::assetScaleFor(qreal devicePixelRatio) {
  return std::clamp(static_cast<int>(std::ceil(devicePixelRatio - 0.001)), 1, kLargestAssetScale);
}

const FacePictures::Assets& FacePictures::assets(int scale) const {
  auto& slot = assets_.at(static_cast<size_t>(scale - 1));
  if (slot) return *slot;
  slot = std::make_unique<Assets>();
  for (const auto& e : kElements) {
    if (e.picture != PictureOrigin::Own) continue;
    const QString path = assetPath(e.id, scale);
    QImage image = load(path);
    if (image.isNull() || image.size() != QSize(e.width, e.height) * scale) {
      std::fprintf(stderr, "wuffel-tennis: picture %s is missing or has the wrong size\n", qPrintable(path));
      image = QImage();
    }
    (*slot)[indexOf(e.id)] = image;
  }
  return *slot;
}

const FacePictures::ForScreen& FacePictures::forScreen(qreal devicePixelRatio) const {
  for (const auto& screen : screens_)
    if (qFuzzyCompare(screen->devicePixelRatio, devicePixelRatio)) return *screen;
  auto screen = std::make_unique<ForScreen>();
  screen->devicePixelRatio = devicePixelRatio;
  const Assets& source = assets(assetScaleFor(devicePixelRatio));
  const QImage outline = load(kCaseOutlinePath);
  for (const auto& e : kElements) {
    const QImage& picture = source[indexOf(e.id)];
    if (picture.isNull()) continue;
    const QSize size = onDevice(e.width, e.height, devicePixelRatio);
    QImage& drawn = screen->drawn[indexOf(e.id)];
    if (e.kind == ElementKind::FacePhoto)
      drawn = photographInCase(picture, size, outline);
    else if (isPhotograph(e))
      drawn = picture.size() == size ? picture : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    else
      // Segments and the digit glyphs that digit positions show are drawn see-through.
      drawn = liquidCrystal(picture, size, devicePixelRatio);
  }
  screens_.push_back(std::move(screen));
  return *screens_.back();
}

void FacePictures::keepOnly(qreal devicePixelRatio) const {
  std::erase_if(screens_, [&](const auto& screen) { return !qFuzzyCompare(screen->devicePixelRatio, devicePixelRatio); });
}

QRegion FacePictures::caseOutline() const {
  const QImage outline = load(kCaseOutlinePath);
  if (outline.isNull()) return {};
  return QRegion(QBitmap::fromImage(outline.convertToFormat(QImage::Format_Mono)));
}

}  // namespace wuffel
