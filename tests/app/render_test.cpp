#include <gtest/gtest.h>

#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/rig.h"
#include "app/face_pictures.h"
#include "app/face_renderer.h"
#include "app/grille_glow.h"
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

// The dots of a segment's own picture, in face pixels.
std::vector<QPoint> dotsOf(ElementId id, ElementId picture) {
  const auto& s = elementInfo(id);
  const QImage& bitmap = Rendering::pictures->original(picture);
  std::vector<QPoint> dots;
  for (int y = 0; y < bitmap.height(); ++y)
    for (int x = 0; x < bitmap.width(); ++x)
      if (qGray(bitmap.pixel(x, y)) < 128) dots.push_back({s.left + x, s.top + y});
  return dots;
}

// How much darker than the bare screen a picture of the face is at a dot.
int darkening(const QImage& bare, const QImage& image, QPoint dot) {
  return qGray(bare.pixel(dot)) - qGray(image.pixel(dot));
}

// Every dot of `image` is `share` of `full`'s darkening, give or take
// `tolerance` grey levels.
void expectShareOfDarkening(const QImage& bare, const QImage& full, const QImage& image,
                            const std::vector<QPoint>& dots, float share, double tolerance = 2) {
  ASSERT_FALSE(dots.empty());
  for (QPoint dot : dots)
    ASSERT_NEAR(darkening(bare, image, dot), share * darkening(bare, full, dot), tolerance)
        << dot.x() << "," << dot.y();
}

// Grey levels by which a dot's darkness may stray from its share where the
// shadows of neighbouring dots of other darkness fall on it.
constexpr double kNeighbourShading = 6;

void setEveryCrystal(Face& face, bool lit) {
  for (const auto& e : kElements)
    if (e.seeThrough()) face.setVisible(e.id, lit);
}

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

TEST_F(Rendering, SoftEdgesFollowTheOutlineWithAnAntiAliasedRimAndAShadowBelow) {
  testing::Rig rig;
  rig.handheld.start();
  const QImage cut = renderFace(rig.inside.face, *pictures);
  const QImage soft = renderFace(rig.inside.face, *pictures, 1, {.edges = CaseEdges::Soft});
  const QImage outline = QImage(QStringLiteral(":/assets/face/case-outline.bmp")).convertToFormat(QImage::Format_Grayscale8);
  ASSERT_EQ(outline.size(), soft.size());
  int partial = 0;
  for (int y = 0; y < soft.height(); ++y)
    for (int x = 0; x < soft.width(); ++x) {
      const bool inside = qGray(outline.pixel(x, y)) < 128;
      const int alpha = qAlpha(soft.pixel(x, y));
      if (inside) {
        ASSERT_GE(alpha, 128) << x << "," << y;
      } else {
        ASSERT_LT(alpha, 255) << x << "," << y;
        ASSERT_EQ(qAlpha(cut.pixel(x, y)), 0) << x << "," << y;
      }
      if (alpha > 0 && alpha < 255) ++partial;
    }
  EXPECT_GT(partial, 2 * (soft.width() + soft.height()));
  // Well inside the case, clear of its rounded corners, both are the same photograph.
  for (const QRect inner : {QRect(40, 10, soft.width() - 80, soft.height() - 20),
                            QRect(10, 40, soft.width() - 20, soft.height() - 80)})
    EXPECT_EQ(soft.copy(inner), cut.copy(inner));
  // The light comes from above: the shadow lies below the case.
  const int middle = soft.width() / 2;
  EXPECT_GT(qAlpha(soft.pixel(middle, soft.height() - 2)), qAlpha(soft.pixel(middle, 1)));
  EXPECT_EQ(qAlpha(soft.pixel(0, 0)), 0);
  // At 2x the rim is drawn at 2x: twice as many partly covered pixels along an edge.
  const QImage soft2 = renderFace(rig.inside.face, *pictures, 2, {.edges = CaseEdges::Soft});
  auto partlyCovered = [](const QImage& image, int x) {
    int n = 0;
    for (int y = image.height() / 2; y < image.height(); ++y) n += qAlpha(image.pixel(x, y)) > 0 && qAlpha(image.pixel(x, y)) < 255;
    return n;
  };
  EXPECT_GE(partlyCovered(soft2, 2 * middle), 2 * partlyCovered(soft, middle) - 1);
}

TEST_F(Rendering, GhostsShowEveryUnlitSegmentAndDigitDotAtTheirShareOfALitOnesDarkness) {
  testing::Rig rig;
  auto& face = rig.inside.face;
  rig.handheld.start();
  face.copyPicture(E::Im_NumPos1, E::Im_Num8);
  setEveryCrystal(face, true);
  const QImage lit = renderFace(face, *pictures);
  setEveryCrystal(face, false);
  const QImage bare = renderFace(face, *pictures);
  FaceLook look;
  look.panel.ghosts = 20;
  const QImage ghosts = renderFace(face, *pictures, 1, look);
  expectShareOfDarkening(bare, lit, ghosts, dotsOf(E::Im_Wuffel2, E::Im_Wuffel2), 0.2f);
  expectShareOfDarkening(bare, lit, ghosts, dotsOf(E::Im_TimePM, E::Im_TimePM), 0.2f);
  // Two segments at one place are one electrode: its ghost is not twice as dark.
  expectShareOfDarkening(bare, lit, ghosts, dotsOf(E::Im_Ball11, E::Im_Ball11), 0.2f);
  // A blank digit shows every dot a digit can light. Its dots shade one
  // another a little differently from those of one lit digit.
  expectShareOfDarkening(bare, lit, ghosts, dotsOf(E::Im_NumPos1, E::Im_Num8), 0.2f, kNeighbourShading);

  // A shown digit is as dark as without ghosts; its other dots are ghosts.
  face.copyPicture(E::Im_NumPos1, E::Im_Num1);
  face.show(E::Im_NumPos1);
  const QImage one = renderFace(face, *pictures);
  const QImage oneAmongGhosts = renderFace(face, *pictures, 1, look);
  const auto oneDots = dotsOf(E::Im_NumPos1, E::Im_Num1);
  for (QPoint dot : oneDots) ASSERT_NEAR(qGray(oneAmongGhosts.pixel(dot)), qGray(one.pixel(dot)), 2);
  // Away from the shadow of the lit dots, the others are ghosts.
  std::vector<QPoint> unlitDots;
  for (QPoint dot : dotsOf(E::Im_NumPos1, E::Im_Num8))
    if (std::none_of(oneDots.begin(), oneDots.end(), [&](QPoint d) {
          return std::abs(d.x() - dot.x()) <= FacePictures::kShadowReach + 1 &&
                 std::abs(d.y() - dot.y()) <= FacePictures::kShadowReach + 1;
        }))
      unlitDots.push_back(dot);
  expectShareOfDarkening(bare, lit, oneAmongGhosts, unlitDots, 0.2f, kNeighbourShading);
}

TEST_F(Rendering, LowerContrastLightensLitSegmentsAndTheirShadowAlike) {
  testing::Rig rig;
  auto& face = rig.inside.face;
  rig.handheld.start();
  const QImage full = renderFace(face, *pictures);
  FaceLook look;
  look.panel.contrast = PanelLook::kMinContrast;
  const QImage low = renderFace(face, *pictures, 1, look);
  setEveryCrystal(face, false);
  const QImage bare = renderFace(face, *pictures);
  // The shadow shows through lighter crystal a little more.
  const double share = PanelLook::kMinContrast / double(PanelLook::kFullContrast);
  for (QPoint dot : dotsOf(E::Im_Brunna, E::Im_Brunna)) {
    ASSERT_GE(darkening(bare, low, dot), share * darkening(bare, full, dot) - 2);
    ASSERT_LE(darkening(bare, low, dot), (share + 0.1) * darkening(bare, full, dot));
  }
  const auto& am = elementInfo(E::Im_TimeAM);
  const QPoint shadow(am.left + 1, am.top + am.height);
  ASSERT_GT(darkening(bare, full, shadow), 5);
  EXPECT_NEAR(darkening(bare, low, shadow), share * darkening(bare, full, shadow), 2);
  setEveryCrystal(face, true);
  // Swept along its range, as by a slider, and back: the same pictures.
  const QImage atLowest = renderFace(face, *pictures, 1, look);
  for (int contrast = PanelLook::kMinContrast; contrast <= PanelLook::kFullContrast; contrast += 10)
    renderFace(face, *pictures, 1, {.panel = {.contrast = contrast}, .edges = CaseEdges::Soft});
  EXPECT_EQ(renderFace(face, *pictures, 1, look), atLowest);
  // Out of range, it is held to the range.
  look.panel.contrast = 0;
  EXPECT_EQ(renderFace(face, *pictures, 1, look),
            renderFace(face, *pictures, 1, {.panel = {.contrast = PanelLook::kMinContrast}}));
}

// The contrast ratio of two colours, as accessibility guidelines reckon it
// from their relative luminance.
double contrastRatio(QRgb a, QRgb b) {
  auto luminance = [](QRgb c) {
    auto linear = [](int v) {
      const double s = v / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(Rendering, LitSegmentsStandOutFromTheGlassByThreeToOneAtEveryContrastTheSettingsOffer) {
  testing::Rig rig;
  auto& face = rig.inside.face;
  rig.handheld.start();
  setEveryCrystal(face, false);
  const QImage bare = renderFace(face, *pictures);
  setEveryCrystal(face, true);
  for (int contrast = PanelLook::kMinContrast; contrast <= PanelLook::kFullContrast; ++contrast) {
    const QImage lit = renderFace(face, *pictures, 1, {.panel = {.contrast = contrast}});
    for (auto id : {E::Im_Brunna, E::Im_Wuffel2, E::Im_Ball17, E::Im_TimeAM, E::Im_Miss3}) {
      std::vector<double> ratios;
      for (QPoint dot : dotsOf(id, id)) ratios.push_back(contrastRatio(bare.pixel(dot), lit.pixel(dot)));
      ASSERT_FALSE(ratios.empty());
      // The dots at a segment's edge share their pixel with the glass.
      std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 10, ratios.end());
      ASSERT_GE(ratios[ratios.size() / 10], 3.0) << elementInfo(id).name << " at contrast " << contrast;
    }
  }
}

TEST_F(Rendering, FadingSegmentsAndDigitDotsAreDrawnAsDarkAsTheyAreAtThatMoment) {
  using namespace std::chrono_literals;
  testing::Rig rig;
  auto& face = rig.inside.face;
  rig.handheld.start();
  setEveryCrystal(face, false);
  face.copyPicture(E::Im_NumPos2, E::Im_Num7);
  face.show(E::Im_NumPos2);
  const QImage bare = renderFace(face, *pictures);
  CrystalFade fade;
  fade.settle(face);
  const auto t0 = CrystalFade::Clock::time_point{} + 5s;
  FaceLook look{.fade = &fade, .now = t0};
  // At rest, fading draws what switching does.
  EXPECT_EQ(renderFace(face, *pictures, 1, look), bare);

  face.show(E::Im_Wuffel3);
  fade.follow(face, E::Im_Wuffel3, t0);
  face.copyPicture(E::Im_NumPos2, E::Im_Num4);
  fade.follow(face, E::Im_NumPos2, t0);
  const QImage settled = renderFace(face, *pictures);
  look.now = t0 + 20ms;
  const QImage halfway = renderFace(face, *pictures, 1, look);
  expectShareOfDarkening(bare, settled, halfway, dotsOf(E::Im_Wuffel3, E::Im_Wuffel3), 0.5f);
  // The dots of the 4 that the 7 lacks darken; those of the 7 that the 4 lacks clear.
  const auto seven = dotsOf(E::Im_NumPos2, E::Im_Num7), four = dotsOf(E::Im_NumPos2, E::Im_Num4);
  auto without = [](std::vector<QPoint> a, const std::vector<QPoint>& b) {
    std::erase_if(a, [&](QPoint p) { return std::find(b.begin(), b.end(), p) != b.end(); });
    return a;
  };
  const auto darkening4 = without(four, seven), clearing7 = without(seven, four);
  ASSERT_FALSE(clearing7.empty());
  look.now = t0 + 30ms;
  const QImage later = renderFace(face, *pictures, 1, look);
  expectShareOfDarkening(bare, settled, later, darkening4, 0.75f, kNeighbourShading);
  for (QPoint dot : clearing7)
    ASSERT_NEAR(darkening(settled, later, dot), 0.75 * darkening(settled, bare, dot), kNeighbourShading);
  look.now = t0 + 120ms;
  EXPECT_EQ(renderFace(face, *pictures, 1, look), settled);
}

// A paused game dims the glass and prints "PAUSED" on the case below the
// screen's frame; nothing else of the face changes, the crystal included.
TEST_F(Rendering, APausedGameDimsTheGlassAndPrintsPausedOnTheCaseBelowTheFrame) {
  testing::Rig rig;
  rig.handheld.start();
  const QRect glass(kScreenArea.left, kScreenArea.top, kScreenArea.width, kScreenArea.height);
  const QRect belowFrame(glass.left(), 340, glass.width(), 30);
  for (qreal ratio : {1.0, 2.0}) {
    SCOPED_TRACE(ratio);
    const QImage running = renderFace(rig.handheld.faceState(), *pictures, ratio);
    FaceLook look;
    look.paused = true;
    const QImage paused = renderFace(rig.handheld.faceState(), *pictures, ratio, look);
    int printed = 0;
    for (int y = 0; y < running.height(); ++y)
      for (int x = 0; x < running.width(); ++x) {
        const QPoint face(static_cast<int>(x / ratio), static_cast<int>(y / ratio));
        const QRgb was = running.pixel(x, y), is = paused.pixel(x, y);
        if (glass.contains(face)) {
          ASSERT_LE(qGray(is), qGray(was)) << x << "," << y;
          if (qGray(was) > 120) {
            ASSERT_LT(qGray(is), qGray(was) * 3 / 4) << x << "," << y;
          }
          // The lit crystal stays the darkest on the glass.
          if (isCrystal(was)) {
            ASSERT_LT(qGray(is), 60) << x << "," << y;
          }
        } else if (belowFrame.contains(face)) {
          // The case's cream printing, over red plastic.
          printed += qRed(is) > 200 && qGreen(is) > 190 && qRed(was) < 230 && qGreen(was) < 120;
        } else {
          ASSERT_EQ(is, was) << x << "," << y;
        }
      }
    EXPECT_GT(printed, 60 * ratio * ratio);
  }
}

TEST_F(Rendering, ASoundCueLightsOnlyTheSpeakerGrilleInItsOwnTint) {
  testing::Rig rig;
  rig.handheld.start();
  const QRect glow = grilleArea();
  const QRect glass(kScreenArea.left, kScreenArea.top, kScreenArea.width, kScreenArea.height);
  ASSERT_FALSE(glow.intersects(glass));
  for (qreal ratio : {1.0, 2.0}) {
    SCOPED_TRACE(ratio);
    const QImage quiet = renderFace(rig.handheld.faceState(), *pictures, ratio);
    const QPoint middle(qRound(kGrille.centreX * ratio), qRound((kGrille.centreY + 3) * ratio));
    for (SoundCue cue : {SoundCue::Ball, SoundCue::Hit, SoundCue::Miss, SoundCue::GameOver, SoundCue::Chance}) {
      FaceLook look;
      look.cue = cue;
      const QImage lit = renderFace(rig.handheld.faceState(), *pictures, ratio, look);
      int changed = 0;
      for (int y = 0; y < lit.height(); ++y)
        for (int x = 0; x < lit.width(); ++x) {
          if (lit.pixel(x, y) == quiet.pixel(x, y)) continue;
          ++changed;
          ASSERT_TRUE(glow.contains(QPoint(static_cast<int>(x / ratio), static_cast<int>(y / ratio)))) << x << "," << y;
        }
      EXPECT_GT(changed, 1500 * ratio * ratio);
      // The middle of the grille turns towards the cue's tint and grows lighter.
      const QColor was(quiet.pixel(middle)), is(lit.pixel(middle));
      const CueTint tint = cueTint(cue);
      EXPECT_GT(is.lightness(), was.lightness() + 25);
      if (tint.blue > tint.red) {
        EXPECT_GT(is.blue() - was.blue(), is.red() - was.red());
      }
      if (tint.green > tint.blue) {
        EXPECT_GT(is.green() - was.green(), is.blue() - was.blue());
      }
    }
  }
}

TEST_F(Rendering, AnAidedBestIsCaptionedOnTheCaseBelowTheFrameAndNowhereElse) {
  testing::Rig rig;
  rig.handheld.start();
  const QRect belowFrame(kScreenArea.left, 340, kScreenArea.width, 30);
  const QImage plain = renderFace(rig.handheld.faceState(), *pictures, 2);
  FaceLook look;
  look.caseCaption = QStringLiteral("ASSISTED BEST AT 50 %");
  const QImage captioned = renderFace(rig.handheld.faceState(), *pictures, 2, look);
  int printed = 0;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) {
      if (plain.pixel(x, y) == captioned.pixel(x, y)) continue;
      ASSERT_TRUE(belowFrame.contains(QPoint(x / 2, y / 2))) << x << "," << y;
      printed += qRed(captioned.pixel(x, y)) > 200 && qGreen(captioned.pixel(x, y)) > 190;
    }
  EXPECT_GT(printed, 400);
}

}  // namespace
}  // namespace wuffel
