#include "app/face_renderer.h"

#include "app/grille_glow.h"
#include "app/paused_look.h"

namespace wuffel {

namespace {

QRect place(const ElementInfo& e) { return {e.left, e.top, e.width, e.height}; }

// The picture an electrode shows while unlit: that of its first segment that has one.
std::optional<ElementId> pictureOfElectrode(const Face& face, ElementId electrode) {
  for (ElementId m : electrodeMembers(electrode))
    if (const auto picture = face.picture(m)) return picture;
  return std::nullopt;
}

// Made once for the scale drawn at, which seldom changes.
const QImage& pausedLookAt(qreal ratio) {
  static qreal madeFor = 0;
  static QImage image;
  if (ratio != madeFor) {
    image = pausedLook(ratio);
    madeFor = ratio;
  }
  return image;
}

}  // namespace

QRect drawnArea(ElementId id) {
  const auto& e = elementInfo(id);
  const int shadow = e.seeThrough() ? FacePictures::kShadowReach : 0;
  // At scales such as 150 % a picture's place rounds to device pixels and
  // may move by half a face pixel.
  return place(e).adjusted(-1, -1, shadow + 1, shadow + 1);
}

void paintFace(QPainter& painter, const Face& face, const FacePictures& pictures, const QRect& area,
               const FaceLook& look) {
  const qreal deviceRatio = painter.device()->devicePixelRatio();
  const qreal ratio = deviceRatio * look.view.scale;
  const QPointF origin = look.view.origin * deviceRatio;
  const PanelLook panel = look.panel.clamped();
  const auto& screen = pictures.forScreen(ratio, panel.contrast, look.edges);
  const float ghost = panel.ghosts / 100.0f;
  // Unlit crystal shows at the ghost's share of a lit segment's darkness.
  auto shown = [ghost](float darkness) { return ghost + (1 - ghost) * darkness; };
  painter.fillRect(look.view.toWindow(area), Qt::white);
  painter.save();
  // The pictures are made for the device's pixels: draw them one to one, at
  // places rounded to whole device pixels, so that nothing is resampled.
  painter.setWorldTransform(QTransform::fromScale(1 / deviceRatio, 1 / deviceRatio));
  auto draw = [&](const ElementInfo& e, const QImage& image, float opacity) {
    if (image.isNull() || opacity <= 0) return;
    // The photograph replaces what lies beneath, the desktop's see-through corners included.
    painter.setCompositionMode(e.kind == ElementKind::FacePhoto ? QPainter::CompositionMode_Source
                                                                : QPainter::CompositionMode_SourceOver);
    painter.setOpacity(opacity);
    painter.drawImage(QPoint(qRound(origin.x() + e.left * ratio), qRound(origin.y() + e.top * ratio)), image);
  };
  for (const auto& e : kElements) {
    if (!drawnArea(e.id).intersects(area)) continue;
    if (e.kind == ElementKind::Segment) {
      // Segments at one place are one electrode, drawn once: at its first
      // lit segment, or at its first segment while it is unlit.
      const ElementId electrode = electrodeOf(e.id);
      const auto lit = litMember(face, electrode);
      if (e.id != lit.value_or(electrode)) continue;
      const auto picture = lit ? face.picture(*lit) : pictureOfElectrode(face, electrode);
      if (!picture) continue;
      const float darkness = look.fade ? look.fade->darkness(electrode, look.now) : lit ? 1.0f : 0.0f;
      draw(e, screen.drawn[indexOf(*picture)], shown(darkness));
    } else if (e.kind == ElementKind::DigitPosition) {
      const auto glyph = face.visible(e.id) ? face.picture(e.id) : std::nullopt;
      if (look.fade && look.fade->restsAt(e.id) > look.now)
        draw(e, pictures.digitCrystal(screen, [&](GlyphSet holders) {
               return shown(look.fade->digitDarkness(e.id, holders, look.now));
             }), 1);
      else if (panel.ghosts > 0)
        draw(e, pictures.ghostedDigit(screen, panel.ghosts, glyph), 1);
      else if (glyph)
        draw(e, screen.drawn[indexOf(*glyph)], 1);
    } else if (face.visible(e.id)) {
      if (const auto picture = face.picture(e.id)) draw(e, screen.drawn[indexOf(*picture)], 1);
    }
  }
  if (look.paused) {
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1);
    painter.drawImage(QPoint(qRound(origin.x()), qRound(origin.y())), pausedLookAt(ratio));
  } else if (!look.caseCaption.isEmpty()) {
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1);
    painter.drawImage(QPoint(qRound(origin.x()), qRound(origin.y())), printedOnCase(look.caseCaption, ratio));
  }
  painter.restore();
  if (look.cue != SoundCue::None && grilleArea().intersects(area)) paintGrilleGlow(painter, look.cue, look.view);
}

QImage renderFace(const Face& face, const FacePictures& pictures, qreal devicePixelRatio, const FaceLook& look) {
  const auto& base = elementInfo(ElementId::Im_Base);
  QImage image(qRound(base.width * devicePixelRatio), qRound(base.height * devicePixelRatio),
               QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(devicePixelRatio);
  QPainter painter(&image);
  paintFace(painter, face, pictures, QRect(0, 0, base.width, base.height), look);
  return image;
}

}  // namespace wuffel
