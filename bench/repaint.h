// What the main window does with the face's changes: it gathers the places
// they touch and redraws only those.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>

#include "app/face_renderer.h"

namespace wuffel::bench {

class DirtyRegion : public FaceObserver {
 public:
  void visibilityChanged(ElementId id, bool) override { add(id); }
  void pictureChanged(ElementId id, std::optional<ElementId>) override { add(id); }

  // Redraws what changed since the last call into `target`; returns the
  // number of pixels drawn.
  long repaint(QImage& target, const Face& face, const FacePictures& pictures) {
    long pixels = 0;
    if (region_.isEmpty()) return 0;
    QPainter painter(&target);
    for (const QRect& r : region_) {
      painter.setClipRect(r);
      paintFace(painter, face, pictures, r);
      pixels += static_cast<long>(r.width()) * r.height();
    }
    region_ = QRegion();
    return pixels;
  }

 private:
  void add(ElementId id) { region_ += drawnArea(id); }
  QRegion region_;
};

}  // namespace wuffel::bench
