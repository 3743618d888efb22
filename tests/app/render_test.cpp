#include <gtest/gtest.h>

#include "core/rig.h"
#include "app/face_pictures.h"
#include "app/face_renderer.h"
#include "qt_application.h"

namespace wuffel {
namespace {

using E = ElementId;

struct Rendering : ::testing::Test {
  static void SetUpTestSuite() {
    testing::application();
    pictures = new FacePictures;
  }
  static FacePictures* pictures;
};
FacePictures* Rendering::pictures = nullptr;

bool isCrystal(QRgb pixel) { return qGray(pixel) < 60 && pixel != qRgb(0, 0, 0); }

TEST_F(Rendering, LitSegmentsAreDarkTranslucentCrystalOverTheirShadowAndTheirWhiteIsAHole) {
  testing::Rig rig;
  rig.handheld.start();
  const QImage lit = renderFace(rig.handheld.faceState(), *pictures);
  const QImage& photo = pictures->original(E::Im_Base);
  ASSERT_FALSE(photo.isNull());
  for (auto id : {E::Im_TimeAM, E::Im_Wuffel2, E::Im_Ball17, E::Im_Miss3}) {
    const auto& s = elementInfo(id);
    const QImage& bitmap = pictures->original(id);
    ASSERT_FALSE(bitmap.isNull()) << s.name;
    for (int y = 0; y < bitmap.height(); ++y)
      for (int x = 0; x < bitmap.width(); ++x)
        if (qGray(bitmap.pixel(x, y)) < 128) {
          ASSERT_TRUE(isCrystal(lit.pixel(s.left + x, s.top + y))) << s.name << " " << std::hex
                                                                    << lit.pixel(s.left + x, s.top + y);
        }
  }
  // The AM sign's bottom-left pixel is crystal, and right below its last
  // row lies its shadow: darker than the screen, lighter than crystal.
  const auto& am = elementInfo(E::Im_TimeAM);
  EXPECT_TRUE(isCrystal(lit.pixel(am.left, am.top + am.height - 1)));
  const QPoint shadow(am.left + 1, am.top + am.height);
  EXPECT_LT(qGray(lit.pixel(shadow)), qGray(photo.pixel(shadow)));
  EXPECT_GT(qGray(lit.pixel(shadow)), 60);
  // Unlit, the PM sign shows the photograph alone.
  const auto& pm = elementInfo(E::Im_TimePM);
  for (int y = pm.top; y < pm.top + pm.height; ++y)
    for (int x = pm.left; x < pm.left + pm.width; ++x) ASSERT_EQ(lit.pixel(x, y), photo.pixel(x, y));
  // The digit glyphs stay hidden.
  const auto& glyph = elementInfo(E::Im_Num8);
  EXPECT_EQ(lit.pixel(glyph.left + 6, glyph.top + 11), photo.pixel(glyph.left + 6, glyph.top + 11));
  // The desktop shows through the corners around the case.
  EXPECT_EQ(qAlpha(lit.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(lit.pixel(photo.width() / 2, photo.height() / 2)), 255);
}

TEST_F(Rendering, ScaledFacesDrawEveryPictureAtItsScaledPlace) {
  testing::Rig rig;
  rig.handheld.start();
  const auto& cell = elementInfo(E::Im_Ball23);
  for (qreal ratio : {1.25, 1.5, 2.0, 3.0}) {
    SCOPED_TRACE(ratio);
    const QImage face = renderFace(rig.handheld.faceState(), *pictures, ratio);
    EXPECT_EQ(face.size(), QSize(qRound(654 * ratio), qRound(394 * ratio)));
    const QPoint centre(qRound((cell.left + cell.width / 2.0) * ratio), qRound((cell.top + cell.height / 2.0) * ratio));
    EXPECT_TRUE(isCrystal(face.pixel(centre)));
  }
  // At whole scales the pictures are made for the scale, not resampled:
  // each crystal dot of the 2x picture lands on one device pixel.
  const QImage twice = renderFace(rig.handheld.faceState(), *pictures, 2.0);
  QImage bitmap(FacePictures::assetPath(E::Im_Ball23, 2));
  ASSERT_EQ(bitmap.size(), QSize(cell.width, cell.height) * 2);
  for (int y = 0; y < bitmap.height(); ++y)
    for (int x = 0; x < bitmap.width(); ++x)
      if (qGray(bitmap.pixel(x, y)) < 128) {
        ASSERT_TRUE(isCrystal(twice.pixel(cell.left * 2 + x, cell.top * 2 + y)));
      }
}

TEST_F(Rendering, SharedPlaceSegmentsLookTheSameAloneOrTogether) {
  testing::Rig rig;
  auto& face = rig.inside.face;
  rig.handheld.start();
  rig.inside.SvuotaSchermo();
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
