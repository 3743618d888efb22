// Drawing the face: a full repaint, a one-segment repaint, and the work from
// start-up to the first frame of the lit handheld.
#include <benchmark/benchmark.h>

#include "app/face_pictures.h"
#include "app/face_renderer.h"
#include "core/rig.h"

namespace wuffel {
namespace {

QImage windowSurface() {
  const auto& base = elementInfo(ElementId::Im_Base);
  return QImage(base.width, base.height, QImage::Format_ARGB32_Premultiplied);
}

void paintArea(QImage& target, const Face& face, const FacePictures& pictures, const QRect& area) {
  QPainter painter(&target);
  painter.setClipRect(area);
  paintFace(painter, face, pictures, area);
}

void FullRepaintOfTheLitFace(benchmark::State& state) {
  static const FacePictures pictures;
  testing::Rig rig;
  rig.handheld->start();
  QImage surface = windowSurface();
  for (auto _ : state) {
    paintArea(surface, rig.handheld->face, pictures, surface.rect());
    benchmark::DoNotOptimize(surface.constBits());
  }
}
BENCHMARK(FullRepaintOfTheLitFace)->Unit(benchmark::kMicrosecond);

// One rally cell lit or unlit, as during play.
void OneSegmentRepaint(benchmark::State& state) {
  static const FacePictures pictures;
  testing::Rig rig;
  rig.handheld->start();
  QImage surface = windowSurface();
  const auto& cell = elementInfo(ElementId::Im_Ball23);
  const QRect area(cell.left, cell.top, cell.width, cell.height);
  bool lit = true;
  for (auto _ : state) {
    lit = !lit;
    rig.handheld->face.setVisible(cell.id, lit);
    paintArea(surface, rig.handheld->face, pictures, area);
    benchmark::DoNotOptimize(surface.constBits());
  }
}
BENCHMARK(OneSegmentRepaint)->Unit(benchmark::kMicrosecond);

// Decoding every picture, creating the handheld, starting it and drawing the
// lit face: what stands between the program's start and its first frame,
// apart from connecting to the display.
void StartupToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    FacePictures pictures;
    testing::Rig rig;
    rig.handheld->start();
    QImage frame = renderFace(rig.handheld->face, pictures);
    benchmark::DoNotOptimize(frame.constBits());
  }
}
BENCHMARK(StartupToFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wuffel
