#include <gtest/gtest.h>

#include <QGuiApplication>

#include "rig.h"
#include "app/face_pictures.h"
#include "app/face_renderer.h"

namespace wuffel {
namespace {

using E = ElementId;

struct Rendering : ::testing::Test {
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "render_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    pictures = new FacePictures;
  }
  static FacePictures* pictures;
};
FacePictures* Rendering::pictures = nullptr;

// First pixel of an element's own bitmap with the given blackness.
std::optional<QPoint> findPixel(const QImage& bitmap, bool black) {
  for (int y = 0; y < bitmap.height(); ++y)
    for (int x = 0; x < bitmap.width(); ++x)
      if ((qGray(bitmap.pixel(x, y)) < 128) == black) return QPoint(x, y);
  return std::nullopt;
}

TEST_F(Rendering, SegmentsDrawBlackPixelsAndLetThePhotographThroughTheirWhite) {
  testing::Rig rig;
  rig.handheld->start();
  const QImage lit = renderFace(rig.handheld->face, *pictures);
  const QImage& photo = pictures->original(E::Im_Base);
  ASSERT_FALSE(photo.isNull());
  for (auto id : {E::Im_TimeAM, E::Im_Wuffel2, E::Im_Ball17, E::Im_Miss3}) {
    const auto& s = elementInfo(id);
    const QImage& bitmap = pictures->original(id);
    ASSERT_FALSE(bitmap.isNull()) << s.name;
    const auto black = findPixel(bitmap, true);
    ASSERT_TRUE(black) << s.name;
    EXPECT_EQ(lit.pixel(s.left + black->x(), s.top + black->y()), qRgb(0, 0, 0)) << s.name;
  }
  // The AM sign's bottom-left pixel is black yet its white is still a hole.
  const auto& am = elementInfo(E::Im_TimeAM);
  EXPECT_EQ(lit.pixel(am.left, am.top + am.height - 1), qRgb(0, 0, 0));
  if (const auto hole = findPixel(pictures->original(E::Im_TimeAM), false)) {
    // Nothing else lit overlaps the AM sign.
    const QPoint p(am.left + hole->x(), am.top + hole->y());
    EXPECT_EQ(lit.pixel(p), photo.pixel(p));
  }
  // Unlit, the PM sign shows the photograph alone.
  const auto& pm = elementInfo(E::Im_TimePM);
  for (int y = pm.top; y < pm.top + pm.height; ++y)
    for (int x = pm.left; x < pm.left + pm.width; ++x) ASSERT_EQ(lit.pixel(x, y), photo.pixel(x, y));
  // The digit glyphs stay hidden.
  const auto& glyph = elementInfo(E::Im_Num8);
  EXPECT_EQ(lit.pixel(glyph.left + 6, glyph.top + 11), photo.pixel(glyph.left + 6, glyph.top + 11));
}

TEST_F(Rendering, SharedPlaceSegmentsLookTheSameAloneOrTogether) {
  testing::Rig rig;
  auto& face = rig.handheld->face;
  rig.handheld->start();
  rig.handheld->SvuotaSchermo();
  face.show(E::Im_Ball65);
  const QImage rally = renderFace(face, *pictures);
  face.hide(E::Im_Ball65);
  face.show(E::Im_Ball11);
  const QImage thrown = renderFace(face, *pictures);
  face.show(E::Im_Ball65);
  const QImage both = renderFace(face, *pictures);
  EXPECT_EQ(rally, thrown);
  EXPECT_EQ(rally, both);
}

}  // namespace
}  // namespace wuffel
