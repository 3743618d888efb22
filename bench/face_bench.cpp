// Drawing the face: a full repaint, a one-segment repaint, and the work from
// start-up to the first frame of the lit handheld. The repaints run at the
// desktop scales given as arguments, in per cent; the full repaint also with
// every panel look at its most costly.
#include <benchmark/benchmark.h>

#include "app/face_pictures.h"
#include "app/face_renderer.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"

namespace wuffel {
namespace {

// The window's backing store at a desktop scale.
QImage windowSurface(const benchmark::State& state) {
  const qreal ratio = state.range(0) / 100.0;
  const auto& base = elementInfo(ElementId::Im_Base);
  QImage surface(qRound(base.width * ratio), qRound(base.height * ratio), QImage::Format_ARGB32_Premultiplied);
  surface.setDevicePixelRatio(ratio);
  return surface;
}

// The face of a handheld just started: every segment lit.
Face litFace() {
  MemorySettings store;
  sim::VirtualHandheld sim({}, store);
  sim.handheld.start();
  return sim.handheld.faceState();
}

void paintArea(QImage& target, const Face& face, const FacePictures& pictures, const QRect& area,
               const FaceLook& look = {}) {
  QPainter painter(&target);
  painter.setClipRect(area);
  paintFace(painter, face, pictures, area, look);
}

void FullRepaintOfTheLitFace(benchmark::State& state) {
  static const FacePictures pictures;
  const Face face = litFace();
  QImage surface = windowSurface(state);
  paintArea(surface, face, pictures, drawnArea(ElementId::Im_Base));  // pictures made once, not timed
  for (auto _ : state) {
    paintArea(surface, face, pictures, drawnArea(ElementId::Im_Base));
    benchmark::DoNotOptimize(surface.constBits());
  }
}
BENCHMARK(FullRepaintOfTheLitFace)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// Every segment unlit, each drawn as a ghost, at the lowest contrast.
void FullRepaintOfGhosts(benchmark::State& state) {
  static const FacePictures pictures;
  Face face = litFace();
  for (const auto& e : kElements)
    if (e.seeThrough()) face.hide(e.id);
  const FaceLook look{.panel = {.ghosts = PanelLook::kMaxGhosts, .contrast = PanelLook::kMinContrast}};
  QImage surface = windowSurface(state);
  paintArea(surface, face, pictures, drawnArea(ElementId::Im_Base), look);
  for (auto _ : state) {
    paintArea(surface, face, pictures, drawnArea(ElementId::Im_Base), look);
    benchmark::DoNotOptimize(surface.constBits());
  }
}
BENCHMARK(FullRepaintOfGhosts)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// A frame of the lit face while every segment and digit fades, with ghosts:
// the digits are composed afresh in each frame.
void FullRepaintWhileEverythingFades(benchmark::State& state) {
  using namespace std::chrono_literals;
  static const FacePictures pictures;
  Face face = litFace();
  CrystalFade fade;
  const auto t0 = CrystalFade::Clock::time_point{} + 1s;
  for (const auto& e : kElements)
    if (e.seeThrough()) face.hide(e.id);
  fade.settle(face);
  for (const auto& e : kElements)
    if (e.seeThrough()) {
      face.show(e.id);
      fade.follow(face, e.id, t0);
    }
  const FaceLook look{.panel = {.ghosts = PanelLook::kMaxGhosts, .fade = true}, .fade = &fade, .now = t0 + 20ms};
  QImage surface = windowSurface(state);
  paintArea(surface, face, pictures, drawnArea(ElementId::Im_Base), look);
  for (auto _ : state) {
    paintArea(surface, face, pictures, drawnArea(ElementId::Im_Base), look);
    benchmark::DoNotOptimize(surface.constBits());
  }
}
BENCHMARK(FullRepaintWhileEverythingFades)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// One rally cell lit or unlit, as during play.
void OneSegmentRepaint(benchmark::State& state) {
  static const FacePictures pictures;
  Face face = litFace();
  QImage surface = windowSurface(state);
  const auto& cell = elementInfo(ElementId::Im_Ball23);
  const QRect area = drawnArea(cell.id);
  paintArea(surface, face, pictures, area);
  bool lit = true;
  for (auto _ : state) {
    lit = !lit;
    face.setVisible(cell.id, lit);
    paintArea(surface, face, pictures, area);
    benchmark::DoNotOptimize(surface.constBits());
  }
}
BENCHMARK(OneSegmentRepaint)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// Decoding every picture, making it ready for the screen, creating the
// handheld, starting it and drawing the lit face: what stands between the
// program's start and its first frame, apart from connecting to the display.
void StartupToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    FacePictures pictures;
    QImage frame = renderFace(litFace(), pictures, state.range(0) / 100.0);
    benchmark::DoNotOptimize(frame.constBits());
  }
}
BENCHMARK(StartupToFirstFrame)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wuffel
