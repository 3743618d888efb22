// Where the face lies in the main window and at what size: the zoom, or in
// full screen the largest size that fits, centred. Face points are the
// face's own 654 x 394 units; window points are the window's pixels.
#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>

#include <cmath>

namespace wuffel {

struct FaceView {
  qreal scale = 1;
  QPointF origin;  // the face's top left corner in the window

  QPoint toFace(QPointF windowPoint) const {
    const QPointF p = (windowPoint - origin) / scale;
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
  }
  QRect toWindow(const QRect& faceRect) const {
    return QRectF(origin + QPointF(faceRect.topLeft()) * scale, QSizeF(faceRect.size()) * scale).toAlignedRect();
  }
  // The face units a window rectangle touches.
  QRect toFace(const QRect& windowRect) const {
    return QRectF((QPointF(windowRect.topLeft()) - origin) / scale, QSizeF(windowRect.size()) / scale).toAlignedRect();
  }
};

}  // namespace wuffel
