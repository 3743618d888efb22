#pragma once

#include <QByteArray>
#include <QImage>

namespace wuffel {

// Decodes a baseline JPEG of three 8-bit components at full size. Returns a
// null image, never throws, when the data is not such a JPEG.
QImage decodeJpeg(const QByteArray& data);

}  // namespace wuffel
