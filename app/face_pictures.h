// The pixels of the face's pictures, loaded from the embedded assets when a
// scale first needs them. The assets come at 1x, 2x and 3x; a scale between
// those is made from the next larger set, once.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QImage>
#include <QRegion>

#include "app/crystal_fade.h"
#include "app/panel_look.h"
#include "face/elements.h"

namespace wuffel {

// How the case meets the desktop: cut to the 1-bit outline the window is
// shaped to, or with an anti-aliased outline and a soft drop shadow for a
// compositor to blend.
enum class CaseEdges { Cut, Soft };

class FacePictures {
 public:
  // The pictures of one device pixel ratio, crystal contrast and kind of
  // edge, ready to draw one to one on device pixels at an element's place
  // rounded to device pixels.
  struct ForScreen {
    qreal devicePixelRatio = 1;
    int contrast = PanelLook::kFullContrast;
    CaseEdges edges = CaseEdges::Cut;
    int assetScale = 1;
    // The photograph with the desktop showing through around the case, the
    // button pictures as they are, and each segment as lit liquid crystal:
    // a dark translucent tint over a soft shadow that reaches `kShadowReach`
    // pixels past the picture's right and bottom edges.
    std::array<QImage, kElementCount> drawn;
    // Digit positions with unlit dots showing faintly, by ghost percent and
    // shown digit (10: blank); made when first needed.
    mutable std::vector<std::array<QImage, 11>> ghostedDigits;
    // The lit crystal of the dots that some sets of glyphs hold, as a
    // changing digit's dots group by darkness.
    mutable std::map<std::vector<GlyphSet>, QImage> digitGroups;
  };
  static constexpr int kShadowReach = 2;  // face pixels

  FacePictures() = default;
  FacePictures(const FacePictures&) = delete;
  FacePictures& operator=(const FacePictures&) = delete;

  // The picture owned by `owner` as the asset holds it at 1x.
  const QImage& original(ElementId owner) const { return assets(1).pictures[indexOf(owner)]; }
  // The pictures stay valid until pictures for another look or scale are
  // asked for: only the last few are kept.
  const ForScreen& forScreen(qreal devicePixelRatio, int contrast = PanelLook::kFullContrast,
                             CaseEdges edges = CaseEdges::Cut) const;

  // Lets go of the pictures made for `devicePixelRatio`, and of the assets
  // that only they were made from (never the 1x ones): for a window that
  // left that scale, so that a zoom left keeps no memory. They are made
  // again when next asked for.
  void release(qreal devicePixelRatio) const;
  // Whether pictures for `devicePixelRatio` are kept, and how many asset
  // scales are decoded.
  bool holds(qreal devicePixelRatio) const;
  int decodedAssetScales() const;

  // A digit position whose dots are as dark as `darkness` says, given the
  // glyphs that hold each dot (0 for a dot no glyph holds).
  QImage digitCrystal(const ForScreen& screen, const std::function<float(GlyphSet)>& darkness) const;
  // A digit position at rest showing `glyph` (or blank) with the unlit dots
  // at `ghosts` percent.
  const QImage& ghostedDigit(const ForScreen& screen, int ghosts, std::optional<ElementId> glyph) const;

  // The case's outline in face pixels: the part of the window the handheld covers.
  QRegion caseOutline() const;

  static QString assetPath(ElementId owner, int scale = 1);
  static QString caseEdgePath(int scale = 1);
  static int assetScaleFor(qreal devicePixelRatio);

 private:
  struct Assets {
    std::array<QImage, kElementCount> pictures;
    // For each dot of a digit position, the glyphs that hold it, and the
    // distinct sets of glyphs that hold a dot (the digits' segments); found
    // when first needed.
    mutable std::vector<GlyphSet> glyphHolders;
    mutable std::vector<GlyphSet> glyphClasses;
  };
  const Assets& assets(int scale) const;
  const std::vector<GlyphSet>& glyphHolders(int scale) const;
  const std::vector<GlyphSet>& glyphClasses(int scale) const;

  static constexpr std::size_t kKeptLooks = 4;

  mutable std::array<std::unique_ptr<Assets>, 3> assets_;
  // The last used last.
  mutable std::vector<std::unique_ptr<ForScreen>> screens_;
};

}  // namespace wuffel
