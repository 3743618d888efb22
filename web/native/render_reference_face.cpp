// web-reference-face OUTDIR: the fully lit face after start-up, as the window
// program draws it at 1x and 2x, for the browser tests to hold the page's
// canvas against.
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "app/face_pictures.h"
#include "app/face_renderer.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: web-reference-face OUTDIR\n");
    return 2;
  }
  using namespace wuffel;
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(out.path());
  MemorySettings store;
  sim::VirtualHandheld sim({}, store);
  sim.handheld.start();
  const FacePictures pictures;
  for (int scale : {1, 2}) {
    QImage image = renderFace(sim.handheld.faceState(), pictures, scale).convertToFormat(QImage::Format_ARGB32);
    if (!image.save(out.filePath(QStringLiteral("face-lit@%1x.png").arg(scale)))) return 1;
  }
  return 0;
}
