#pragma once

#include <QPainter>
#include <QRect>

#include "app/face_pictures.h"
#include "face/face.h"

namespace wuffel {

// Draws every visible element that meets `area`, in drawing order.
void paintFace(QPainter& painter, const Face& face, const FacePictures& pictures, const QRect& area);

// The whole face as an image, for tests and the documentation.
QImage renderFace(const Face& face, const FacePictures& pictures);

}  // namespace wuffel
