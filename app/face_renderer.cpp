#include "app/face_renderer.h"

#include <vector>

namespace wuffel {

namespace {

QRect place(const ElementInfo& e) { return {e.left, e.top, e.width, e.height}; }

// For each element, the earlier elements at the same place. Two lit segments
// at one place show one picture: drawn twice, translucent crystal would darken.
const std::vector<std::vector<ElementId>>& earlierAtSamePlace() {
  static const auto table = [] {
    std::vector<std::vector<ElementId>> t(kElementCount);
    for (std::size_t i = 0; i < kElementCount; ++i)
      for (std::size_t j = 0; j < i; ++j)
        if (place(kElements[i]) == place(kElements[j])) t[i].push_back(kElements[j].id);
    return t;
  }();
  return table;
}

bool shownByAnEarlierElement(const Face& face, ElementId id, ElementId picture) {
  for (ElementId other : earlierAtSamePlace()[indexOf(id)])
    if (face.visible(other) && face.picture(other) == picture) return true;
  return false;
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
               const FaceView& view) {
  const qreal deviceRatio = painter.device()->devicePixelRatio();
  const qreal ratio = deviceRatio * view.scale;
  const auto& drawn = pictures.forScreen(ratio).drawn;
  painter.fillRect(view.toWindow(area), Qt::white);
  painter.save();
  // The pictures are made for the device's pixels: draw them one to one, at
  // places rounded to whole device pixels, so that nothing is resampled.
  painter.setWorldTransform(QTransform::fromScale(1 / deviceRatio, 1 / deviceRatio));
  const QPointF origin = view.origin * deviceRatio;
  for (const auto& e : kElements) {
    if (!face.visible(e.id)) continue;
    const auto picture = face.picture(e.id);
    if (!picture || !drawnArea(e.id).intersects(area)) continue;
    const QImage& image = drawn[indexOf(*picture)];
    if (image.isNull() || shownByAnEarlierElement(face, e.id, *picture)) continue;
    // The photograph replaces what lies beneath, the desktop's see-through corners included.
    painter.setCompositionMode(e.kind == ElementKind::FacePhoto ? QPainter::CompositionMode_Source
                                                                : QPainter::CompositionMode_SourceOver);
    painter.drawImage(QPoint(qRound(origin.x() + e.left * ratio), qRound(origin.y() + e.top * ratio)), image);
  }
  painter.restore();
}

QImage renderFace(const Face& face, const FacePictures& pictures, qreal devicePixelRatio) {
  const auto& base = elementInfo(ElementId::Im_Base);
  QImage image(qRound(base.width * devicePixelRatio), qRound(base.height * devicePixelRatio),
               QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(devicePixelRatio);
  QPainter painter(&image);
  paintFace(painter, face, pictures, QRect(0, 0, base.width, base.height));
  return image;
}

}  // namespace wuffel
