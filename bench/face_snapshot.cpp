// face_snapshot: the face as the window program draws it, as a PNG, for the
// pictures in docs/ and for close looks at a panel look.
//
//   face_snapshot OUT.png [--scale R] [--ghosts N] [--contrast N] [--fade]
//                 [--soft] [--bare] [--game a|b --at MS] [--paused] [--crop X,Y,W,H] [--zoom N]
//                 [--cue ball|hit|miss|over|chance]
//
// By default the face is the lit one the handheld shows at start. --bare
// leaves every segment unlit; --game plays that game on virtual time for MS
// milliseconds without a key pressed, segments fading as they would (with
// --fade); --paused shows it as a paused game. --soft draws the case's soft edge and shadow, as over a
// compositor. --cue lights the speaker grille as that sound does. --crop takes a part (in face pixels) and --zoom enlarges it
// without smoothing.
//
//   build/bench/face_snapshot docs/lit-face.png --soft
//   build/bench/face_snapshot docs/face-photo.png --soft --bare
#include <QGuiApplication>
#include <QImage>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/crystal_fade.h"
#include "app/face_pictures.h"
#include "app/face_renderer.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"

namespace {

using namespace wuffel;

// The fade following the face on the handheld's virtual clock.
class FadeOnVirtualTime : public FaceObserver {
 public:
  FadeOnVirtualTime(CrystalFade& fade, const sim::VirtualHandheld& sim)
      : fade_(fade), face_(sim.handheld.faceState()), sim_(sim) {}
  void visibilityChanged(ElementId id, bool) override { fade_.follow(face_, id, at(sim_.now())); }
  void pictureChanged(ElementId id, std::optional<ElementId>) override { fade_.follow(face_, id, at(sim_.now())); }
  static CrystalFade::Clock::time_point at(std::int64_t ms) {
    return CrystalFade::Clock::time_point{} + std::chrono::milliseconds(ms);
  }

 private:
  CrystalFade& fade_;
  const Face& face_;
  const sim::VirtualHandheld& sim_;
};

int usage() {
  std::fprintf(stderr,
               "usage: face_snapshot OUT.png [--scale R] [--ghosts N] [--contrast N] [--fade] [--soft]\n"
               "                     [--bare] [--game a|b --at MS] [--paused] [--crop X,Y,W,H] [--zoom N]\n"
               "                     [--cue ball|hit|miss|over|chance]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() < 2 || args[1].startsWith(QLatin1String("--"))) return usage();
  qreal scale = 1;
  FaceLook look;
  bool bare = false;
  QString game;
  std::int64_t atMs = 0;
  QRect crop;
  int zoom = 1;
  for (int i = 2; i < args.size(); ++i) {
    const QString& a = args[i];
    const QString value = i + 1 < args.size() ? args[i + 1] : QString();
    const QStringList parts = value.split(QLatin1Char(','));
    if (a == QLatin1String("--scale")) scale = value.toDouble(), ++i;
    else if (a == QLatin1String("--ghosts")) look.panel.ghosts = value.toInt(), ++i;
    else if (a == QLatin1String("--contrast")) look.panel.contrast = value.toInt(), ++i;
    else if (a == QLatin1String("--fade")) look.panel.fade = true;
    else if (a == QLatin1String("--soft")) look.edges = CaseEdges::Soft;
    else if (a == QLatin1String("--bare")) bare = true;
    else if (a == QLatin1String("--paused")) look.paused = true;
    else if (a == QLatin1String("--game")) game = value, ++i;
    else if (a == QLatin1String("--at")) atMs = value.toLongLong(), ++i;
    else if (a == QLatin1String("--crop") && parts.size() == 4)
      crop = QRect(parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt()), ++i;
    else if (a == QLatin1String("--zoom")) zoom = std::max(1, value.toInt()), ++i;
    else if (a == QLatin1String("--cue")) {
      const QStringList cues{"none", "ball", "hit", "miss", "over", "chance"};
      if (!cues.contains(value)) return usage();
      look.cue = static_cast<SoundCue>(cues.indexOf(value));
      ++i;
    } else return usage();
  }

  MemorySettings store;
  sim::VirtualHandheld sim({}, store);
  CrystalFade fade;
  FadeOnVirtualTime follower(fade, sim);
  sim.handheld.start();
  fade.settle(sim.handheld.faceState());
  if (look.panel.fade) sim.handheld.observeFace(&follower);
  if (game == QLatin1String("a") || game == QLatin1String("b")) {
    const auto& button = elementInfo(game == QLatin1String("a") ? ElementId::Puls_GameA : ElementId::Puls_GameB);
    sim.handheld.mousePress(button.left + 1, button.top + 1, MouseButton::Left);
    sim.handheld.mouseRelease(button.left + 1, button.top + 1, MouseButton::Left);
    sim.advanceTo(atMs);
  }
  if (look.panel.fade) {
    look.fade = &fade;
    look.now = FadeOnVirtualTime::at(sim.now());
  }
  // The bare case: the face as it is, with no crystal drawn.
  Face face = sim.handheld.faceState();
  if (bare)
    for (const auto& e : kElements)
      if (e.seeThrough()) face.setVisible(e.id, false);

  const FacePictures pictures;
  QImage image = renderFace(face, pictures, scale, look);
  if (!crop.isNull()) {
    const QRect device(qRound(crop.x() * scale), qRound(crop.y() * scale), qRound(crop.width() * scale),
                       qRound(crop.height() * scale));
    image = image.copy(device);
  }
  if (zoom > 1) image = image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  image.setDevicePixelRatio(1);
  if (!image.save(args[1], "PNG")) {
    std::fprintf(stderr, "face_snapshot: cannot write %s\n", qPrintable(args[1]));
    return 1;
  }
  return 0;
}
