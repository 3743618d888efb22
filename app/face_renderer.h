#pragma once

#include <QPainter>
#include <QRect>

#include "app/face_pictures.h"
#include "app/face_view.h"
#include "face/face.h"

namespace wuffel {

// Draws every visible element that meets `area` (face units), in drawing
// order, where `view` places the face, with the pictures made for the
// painter's device pixel ratio at the view's scale.
void paintFace(QPainter& painter, const Face& face, const FacePictures& pictures, const QRect& area,
               const FaceView& view = {});

// The face pixels an element's picture may cover at any scale: its place,
// the shadow a lit segment casts and a pixel of rounding.
QRect drawnArea(ElementId id);

// The whole face as an image of the given device pixel ratio, for tests and
// the documentation.
QImage renderFace(const Face& face, const FacePictures& pictures, qreal devicePixelRatio = 1);

}  // namespace wuffel
