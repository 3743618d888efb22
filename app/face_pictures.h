// The pixels of the face's pictures, loaded once from the embedded assets.
// See-through pictures are kept ready to draw: black pixels opaque black,
// white pixels transparent, whatever colour the corners have.
#pragma once

#include <array>

#include <QImage>

#include "face/elements.h"

namespace wuffel {

class FacePictures {
 public:
  FacePictures();  // loads every picture an element owns
  // The picture owned by `owner`, prepared for drawing on `target`.
  const QImage& forDrawing(ElementId owner, ElementId target) const;
  const QImage& original(ElementId owner) const { return original_[indexOf(owner)]; }

  static QImage seeThroughVersion(const QImage& bitmap);
  static QString assetPath(ElementId owner);

 private:
  std::array<QImage, kElementCount> original_;
  std::array<QImage, kElementCount> seeThrough_;
};

}  // namespace wuffel
