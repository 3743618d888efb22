#include "app/face_pictures.h"

#include <QBitmap>
#include <QFile>
#include <QPainter>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

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
  if (path.endsWith(QLatin1String(".jpg"))) return decodeJpeg(data);
  return QImage::fromData(data, path.endsWith(QLatin1String(".png")) ? "PNG" : "BMP");
}

QString scaleSuffix(int scale) { return scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale); }

QSize onDevice(int width, int height, qreal devicePixelRatio) {
  return {qRound(width * devicePixelRatio), qRound(height * devicePixelRatio)};
}

// A two-colour bitmap's black pixels as full coverage, at the bitmap's size.
QImage blackAsAlpha(const QImage& bitmap) {
  const QImage grey = bitmap.convertToFormat(QImage::Format_Grayscale8);
  QImage alpha(bitmap.size(), QImage::Format_Alpha8);
  for (int y = 0; y < bitmap.height(); ++y) {
    const uchar* in = grey.constScanLine(y);
    uchar* row = alpha.scanLine(y);
    for (int x = 0; x < bitmap.width(); ++x) row[x] = in[x] < 128 ? 255 : 0;
  }
  return alpha;
}

// Coverage, 0 to 1, at `size`.
std::vector<float> coverage(QImage alpha, QSize size) {
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

// The photograph in the window: cut to the outline the window is shaped to,
// or with the soft edge a compositor blends with the desktop.
QImage photographInCase(const QImage& photo, QSize size, CaseEdges edges, const QImage& outline, const QImage& edge) {
  QImage out = photo.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (out.size() != size) out = out.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (edges == CaseEdges::Soft && !edge.isNull()) {
    QImage opacity = edge.convertToFormat(QImage::Format_Grayscale8);
    if (opacity.size() != size) opacity = opacity.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The photograph is stored over black, so its colours are already
    // premultiplied by the opacity; the clamp keeps JPEG noise from going past it.
    for (int y = 0; y < size.height(); ++y) {
      const uchar* in = opacity.constScanLine(y);
      auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
      for (int x = 0; x < size.width(); ++x) {
        const int a = in[x];
        if (a == 255) continue;
        const QRgb p = row[x];
        row[x] = qRgba(std::min(qRed(p), a), std::min(qGreen(p), a), std::min(qBlue(p), a), a);
      }
    }
    return out;
  }
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

// Liquid crystal of the given coverage, `size` device pixels large plus the
// shadow's reach; `contrast` in percent of the darkest crystal.
QImage liquidCrystal(const std::vector<float>& crystal, QSize size, qreal devicePixelRatio, int contrast) {
  const float strength = contrast / float(PanelLook::kFullContrast);
  const float crystalOpacity = kCrystalOpacity * strength;
  const float shadowOpacity = kShadowOpacity * strength;
  const int reach = qRound(FacePictures::kShadowReach * devicePixelRatio);
  const int offset = std::max(1, qRound(devicePixelRatio));
  const int w = size.width() + reach, h = size.height() + reach;
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
      const float t = inPicture ? crystal[static_cast<size_t>(y) * size.width() + x] * crystalOpacity : 0.0f;
      const float s = shadow[static_cast<size_t>(y) * w + x] * shadowOpacity * (1 - t);
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
  return isPhotograph(s) ? QStringLiteral(":/assets/face/%1%2.jpg").arg(name, scaleSuffix(scale))
                         : QStringLiteral(":/assets/segments/%1%2.bmp").arg(name, scaleSuffix(scale));
}

QString FacePictures::caseEdgePath(int scale) {
  return QStringLiteral(":/assets/face/case-edge%1.png").arg(scaleSuffix(scale));
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
    slot->pictures[indexOf(e.id)] = image;
  }
  return *slot;
}

const std::vector<GlyphSet>& FacePictures::glyphClasses(int scale) const {
  const Assets& source = assets(scale);
  if (source.glyphClasses.empty()) {
    std::set<GlyphSet> classes(glyphHolders(scale).begin(), glyphHolders(scale).end());
    classes.erase(0);
    source.glyphClasses.assign(classes.begin(), classes.end());
  }
  return source.glyphClasses;
}

const std::vector<GlyphSet>& FacePictures::glyphHolders(int scale) const {
  const Assets& source = assets(scale);
  auto& holders = source.glyphHolders;
  if (!holders.empty()) return holders;
  const auto& digit = elementInfo(ElementId::Im_NumPos1);
  holders.assign(static_cast<size_t>(digit.width * scale) * digit.height * scale, 0);
  for (const auto& e : kElements) {
    if (e.kind != ElementKind::DigitGlyph) continue;
    const QImage& glyph = source.pictures[indexOf(e.id)];
    if (glyph.size() != QSize(digit.width, digit.height) * scale) continue;
    const QImage black = blackAsAlpha(glyph);
    for (int y = 0; y < black.height(); ++y) {
      const uchar* row = black.constScanLine(y);
      for (int x = 0; x < black.width(); ++x)
        if (row[x]) holders[static_cast<size_t>(y) * black.width() + x] |= glyphBit(e.id);
    }
  }
  return holders;
}

const FacePictures::ForScreen& FacePictures::forScreen(qreal devicePixelRatio, int contrast, CaseEdges edges) const {
  std::vector<const ForScreen*> sameScale;
  for (auto it = screens_.begin(); it != screens_.end(); ++it) {
    const ForScreen& screen = **it;
    if (!qFuzzyCompare(screen.devicePixelRatio, devicePixelRatio)) continue;
    if (screen.contrast == contrast && screen.edges == edges) {
      std::rotate(it, it + 1, screens_.end());
      return *screens_.back();
    }
    sameScale.push_back(&screen);
  }
  // Another look at this scale shares what the look does not change.
  auto madeAlready = [&](const ElementInfo& e) -> const QImage* {
    for (const ForScreen* other : sameScale) {
      const bool same = e.kind == ElementKind::FacePhoto ? other->edges == edges
                        : isPhotograph(e)                 ? true
                                                          : other->contrast == contrast;
      if (same) return &other->drawn[indexOf(e.id)];
    }
    return nullptr;
  };
  auto screen = std::make_unique<ForScreen>();
  screen->devicePixelRatio = devicePixelRatio;
  screen->contrast = contrast;
  screen->edges = edges;
  screen->assetScale = assetScaleFor(devicePixelRatio);
  const Assets& source = assets(screen->assetScale);
  for (const auto& e : kElements) {
    const QImage& picture = source.pictures[indexOf(e.id)];
    if (picture.isNull()) continue;
    const QSize size = onDevice(e.width, e.height, devicePixelRatio);
    QImage& drawn = screen->drawn[indexOf(e.id)];
    if (const QImage* made = madeAlready(e))
      drawn = *made;
    else if (e.kind == ElementKind::FacePhoto)
      drawn = photographInCase(picture, size, edges, load(kCaseOutlinePath),
                               edges == CaseEdges::Soft ? load(caseEdgePath(screen->assetScale)) : QImage());
    else if (isPhotograph(e))
      drawn = picture.size() == size ? picture : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    else
      // Segments and the digit glyphs that digit positions show are drawn see-through.
      drawn = liquidCrystal(coverage(blackAsAlpha(picture), size), size, devicePixelRatio, contrast);
  }
  screens_.push_back(std::move(screen));
  // A look dragged along a slider would otherwise keep every step's pictures.
  if (screens_.size() > kKeptLooks) screens_.erase(screens_.begin());
  return *screens_.back();
}

void FacePictures::release(qreal devicePixelRatio) const {
  std::erase_if(screens_, [devicePixelRatio](const std::unique_ptr<ForScreen>& screen) {
    return qFuzzyCompare(screen->devicePixelRatio, devicePixelRatio);
  });
  for (int scale = 2; scale <= kLargestAssetScale; ++scale) {
    const bool used = std::any_of(screens_.begin(), screens_.end(),
                                  [scale](const std::unique_ptr<ForScreen>& screen) { return screen->assetScale == scale; });
    if (!used) assets_.at(static_cast<size_t>(scale - 1)).reset();
  }
}

bool FacePictures::holds(qreal devicePixelRatio) const {
  return std::any_of(screens_.begin(), screens_.end(), [devicePixelRatio](const std::unique_ptr<ForScreen>& screen) {
    return qFuzzyCompare(screen->devicePixelRatio, devicePixelRatio);
  });
}

int FacePictures::decodedAssetScales() const {
  return static_cast<int>(std::count_if(assets_.begin(), assets_.end(), [](const auto& a) { return a != nullptr; }));
}

QImage FacePictures::digitCrystal(const ForScreen& screen, const std::function<float(GlyphSet)>& darkness) const {
  const int scale = screen.assetScale;
  const std::vector<GlyphSet>& holders = glyphHolders(scale);
  // The dots fall into a few groups of one darkness (at rest, lit and
  // unlit); each group is drawn as a segment of its own would be. While a
  // digit changes, its groups stay the same from frame to frame.
  std::map<int, std::vector<GlyphSet>> groups;
  for (GlyphSet holding : glyphClasses(scale)) {
    const int level = qRound(std::clamp(darkness(holding), 0.0f, 1.0f) * 255);
    if (level > 0) groups[level].push_back(holding);
  }
  // Every pair of digits has its own few groups; a hundred pairs' worth is kept.
  if (screen.digitGroups.size() > 400) screen.digitGroups.clear();
  const auto& digit = elementInfo(ElementId::Im_NumPos1);
  const QSize size = onDevice(digit.width, digit.height, screen.devicePixelRatio);
  const int reach = qRound(kShadowReach * screen.devicePixelRatio);
  QImage out(size + QSize(reach, reach), QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  QPainter painter(&out);
  for (const auto& [level, classes] : groups) {
    QImage& crystal = screen.digitGroups[classes];
    if (crystal.isNull()) {
      std::array<bool, 1 << 10> inGroup{};
      for (GlyphSet holding : classes) inGroup[holding] = true;
      QImage group(digit.width * scale, digit.height * scale, QImage::Format_Alpha8);
      for (int y = 0; y < group.height(); ++y) {
        uchar* row = group.scanLine(y);
        for (int x = 0; x < group.width(); ++x)
          row[x] = inGroup[holders[static_cast<size_t>(y) * group.width() + x]] ? 255 : 0;
      }
      crystal = liquidCrystal(coverage(group, size), size, screen.devicePixelRatio, screen.contrast);
    }
    painter.setOpacity(level / 255.0);
    painter.drawImage(0, 0, crystal);
  }
  return out;
}

const QImage& FacePictures::ghostedDigit(const ForScreen& screen, int ghosts, std::optional<ElementId> glyph) const {
  if (screen.ghostedDigits.size() <= static_cast<size_t>(ghosts)) screen.ghostedDigits.resize(ghosts + 1);
  const GlyphSet shown = glyph ? glyphBit(*glyph) : 0;
  QImage& image = screen.ghostedDigits[ghosts][glyph ? std::countr_zero(shown) : 10];
  if (image.isNull())
    image = digitCrystal(screen, [&](GlyphSet holders) { return holders & shown ? 1.0f : ghosts / 100.0f; });
  return image;
}

QRegion FacePictures::caseOutline() const {
  const QImage outline = load(kCaseOutlinePath);
  if (outline.isNull()) return {};
  return QRegion(QBitmap::fromImage(outline.convertToFormat(QImage::Format_Mono)));
}

}  // namespace wuffel
