// wuffel-web-pictures OUTDIR: the face's pictures for the browser edition, as
// the window program draws them (lit crystal with its shadow, the buttons),
// made by the same code so that both editions show the same pixels:
//   face-atlas@Nx.png  every picture but the photograph, at scale N = 1, 2, 3
//   face-atlas.json    the face's size, each element's place on the face by
//                      name, and where each element's picture lies in each
//                      atlas (by element index)
//   case-mask.png      opaque where the desktop shows around the case
//   face-paused@Nx.png what a paused game lays over the face, at scale N
// The photograph itself goes to the page as its JPEG copies.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/face_pictures.h"
#include "app/paused_look.h"

using namespace wuffel;

namespace {

constexpr int kScales[] = {1, 2, 3};
constexpr int kAtlasWidth = 256;  // face pixels; wide enough for the largest segment at any scale
constexpr int kGap = 1;

struct Placed {
  std::size_t element;
  QRect rect;
};

// Shelves of pictures, tallest first.
std::vector<Placed> pack(const FacePictures::ForScreen& screen, int scale, QSize& size) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < kElementCount; ++i)
    if (!screen.drawn[i].isNull() && kElements[i].kind != ElementKind::FacePhoto) order.push_back(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](auto a, auto b) { return screen.drawn[a].height() > screen.drawn[b].height(); });
  const int width = kAtlasWidth * scale;
  std::vector<Placed> placed;
  int x = 0, y = 0, shelf = 0;
  for (auto i : order) {
    const QSize s = screen.drawn[i].size();
    if (x + s.width() > width) {
      x = 0;
      y += shelf + kGap;
      shelf = 0;
    }
    placed.push_back({i, QRect(QPoint(x, y), s)});
    x += s.width() + kGap;
    shelf = std::max(shelf, s.height());
  }
  size = QSize(width, y + shelf);
  return placed;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: wuffel-web-pictures OUTDIR\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(out.path());
  const FacePictures pictures;
  QJsonObject atlases;
  const auto& base = elementInfo(ElementId::Im_Base);
  atlases.insert(QStringLiteral("face"), QJsonArray{base.width, base.height});
  QJsonObject places;
  for (const auto& e : kElements)
    places.insert(QString::fromLatin1(e.name.data(), static_cast<int>(e.name.size())),
                  QJsonArray{e.left, e.top, e.width, e.height});
  atlases.insert(QStringLiteral("places"), places);
  for (int scale : kScales) {
    const auto& screen = pictures.forScreen(scale);
    QSize size;
    const auto placed = pack(screen, scale, size);
    QImage atlas(size, QImage::Format_ARGB32_Premultiplied);
    atlas.fill(Qt::transparent);
    QPainter painter(&atlas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    QJsonArray rects;
    for (std::size_t i = 0; i < kElementCount; ++i) rects.append(QJsonValue::Null);
    for (const auto& p : placed) {
      painter.drawImage(p.rect.topLeft(), screen.drawn[p.element]);
      rects[static_cast<int>(p.element)] = QJsonArray{p.rect.x(), p.rect.y(), p.rect.width(), p.rect.height()};
    }
    painter.end();
    if (!atlas.save(out.filePath(QStringLiteral("face-atlas@%1x.png").arg(scale)))) return 1;
    atlases.insert(QString::number(scale), rects);
    if (!pausedLook(scale).save(out.filePath(QStringLiteral("face-paused@%1x.png").arg(scale)))) return 1;
  }
  QFile json(out.filePath(QStringLiteral("face-atlas.json")));
  if (!json.open(QIODevice::WriteOnly)) return 1;
  json.write(QJsonDocument(atlases).toJson(QJsonDocument::Compact));

  // Where the photograph, as the window program draws it, lets the desktop through.
  const QImage photo = pictures.forScreen(1).drawn[indexOf(ElementId::Im_Base)];
  QImage mask(photo.size(), QImage::Format_ARGB32);
  for (int y = 0; y < photo.height(); ++y)
    for (int x = 0; x < photo.width(); ++x) mask.setPixel(x, y, qAlpha(photo.pixel(x, y)) == 0 ? 0xff000000 : 0);
  return mask.save(out.filePath(QStringLiteral("case-mask.png"))) ? 0 : 1;
}
