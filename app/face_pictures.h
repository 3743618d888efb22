// The pixels of the face's pictures, loaded from the embedded assets when a
// scale first needs them. The assets come at 1x, 2x and 3x; a scale between
// those is made from the next larger set, once.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include <QImage>
#include <QRegion>

#include "face/elements.h"

namespace wuffel {

class FacePictures {
 public:
  // The pictures of one device pixel ratio, ready to draw one to one on
  // device pixels at an element's place rounded to device pixels.
  struct ForScreen {
    qreal devicePixelRatio = 1;
    // The photograph with the desktop showing through around the case, the
    // button pictures as they are, and each segment as lit liquid crystal:
    // a dark translucent tint over a soft shadow that reaches `kShadowReach`
    // pixels past the picture's right and bottom edges.
    std::array<QImage, kElementCount> drawn;
  };
  static constexpr int kShadowReach = 2;  // face pixels

  FacePictures() = default;
  FacePictures(const FacePictures&) = delete;
  FacePictures& operator=(const FacePictures&) = delete;

  // The picture owned by `owner` as the asset holds it at 1x.
  const QImage& original(ElementId owner) const { return assets(1)[indexOf(owner)]; }
  const ForScreen& forScreen(qreal devicePixelRatio) const;
  // Frees the pictures made for every other ratio: a zoom the player left.
  void keepOnly(qreal devicePixelRatio) const;

  // The case's outline in face pixels: the part of the window the handheld covers.
  QRegion caseOutline() const;

  static QString assetPath(ElementId owner, int scale = 1);
  static int assetScaleFor(qreal devicePixelRatio);

 private:
  using Assets = std::array<QImage, kElementCount>;
  const Assets& assets(int scale) const;

  mutable std::array<std::unique_ptr<Assets>, 3> assets_;
  mutable std::vector<std::unique_ptr<ForScreen>> screens_;
};

}  // namespace wuffel
