#include "app/face_renderer.h"

namespace wuffel {

void paintFace(QPainter& painter, const Face& face, const FacePictures& pictures, const QRect& area) {
  painter.fillRect(area, Qt::white);
  for (const auto& e : kElements) {
    if (!face.visible(e.id)) continue;
    const auto picture = face.picture(e.id);
    if (!picture) continue;
    const QRect place(e.left, e.top, e.width, e.height);
    if (!place.intersects(area)) continue;
    const QImage& image = pictures.forDrawing(*picture, e.id);
    if (!image.isNull()) painter.drawImage(place.topLeft(), image);
  }
}

QImage renderFace(const Face& face, const FacePictures& pictures) {
  const auto& base = elementInfo(ElementId::Im_Base);
  QImage image(base.width, base.height, QImage::Format_RGB32);
  QPainter painter(&image);
  paintFace(painter, face, pictures, image.rect());
  return image;
}

}  // namespace wuffel
