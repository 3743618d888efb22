// Where the dialogs open: the settings beside the handheld where the screen
// has room, else covering the least of its glass and then of its face; the
// about dialog over its middle; both on the screen, and again where the
// player left them while the handheld stays put.
#include <gtest/gtest.h>

#include <QDialog>

#include "app/opening_place.h"
#include "qt_application.h"

namespace wuffel {
namespace {

// The handheld at 100 %, centred on a screen of that size.
HandheldOnScreen centredOn(QSize screen) {
  QRect face(QPoint(), QSize(654, 394));
  face.moveCenter(QRect(QPoint(), screen).center());
  return handheldOnScreen(face);
}

qint64 covered(const QRect& a, const QRect& b) {
  const QRect both = a.intersected(b);
  return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

const QSize kSettings(545, 360);

TEST(BesideTheHandheld, OpensToItsRightElseItsLeftElseBelowCentredAlongThatSide) {
  const QRect screen(0, 0, 1920, 1080);
  const HandheldOnScreen middle = centredOn(screen.size());
  const QRect right(besideTheHandheld(kSettings, middle, screen), kSettings);
  EXPECT_EQ(right.left(), middle.face.right() + 1 + 8);
  EXPECT_EQ(right.center().y(), middle.face.center().y());

  HandheldOnScreen nearTheRight = handheldOnScreen(middle.face.translated(600, 0));
  const QRect left(besideTheHandheld(kSettings, nearTheRight, screen), kSettings);
  EXPECT_EQ(left.right(), nearTheRight.face.left() - 1 - 8);

  // Wide enough for no side; room below, once slid along to stay on the screen.
  const QRect wide(0, 0, 1000, 1080);
  const HandheldOnScreen high = handheldOnScreen(QRect(300, 40, 654, 394));
  const QRect below(besideTheHandheld(kSettings, high, wide), kSettings);
  EXPECT_EQ(below.top(), high.face.bottom() + 1 + 8);
  EXPECT_TRUE(wide.contains(below));
}

// A small screen leaves no side free: of every place on the screen, the
// dialog takes one that covers the least of the glass, and then of the face.
TEST(BesideTheHandheld, WithNoRoomBesideItCoversTheLeastOfTheGlassThenOfTheFaceAndStaysOnTheScreen) {
  for (const QSize size : {QSize(1366, 768), QSize(960, 540)}) {
    const QRect screen(QPoint(), size);
    const HandheldOnScreen handheld = centredOn(size);
    const QRect chosen(besideTheHandheld(kSettings, handheld, screen), kSettings);
    ASSERT_TRUE(screen.contains(chosen)) << size.width();
    const auto cost = [&](const QRect& r) {
      return std::pair{covered(r, handheld.glass), covered(r, handheld.face)};
    };
    for (int x = 0; x + kSettings.width() <= size.width(); x += 3)
      for (int y = 0; y + kSettings.height() <= size.height(); y += 3)
        ASSERT_LE(cost(chosen), cost(QRect(QPoint(x, y), kSettings))) << size.width() << " at " << x << "," << y;
  }
}

TEST(OverTheHandheld, CentresOnItsMiddleAndStaysOnTheScreen) {
  const QRect screen(0, 0, 1366, 768);
  const QSize about(277, 250);
  const HandheldOnScreen middle = centredOn(screen.size());
  EXPECT_EQ(QRect(overTheHandheld(about, middle, screen), about).center(), middle.face.center());
  const HandheldOnScreen mostlyOff = handheldOnScreen(QRect(-500, 600, 654, 394));
  EXPECT_EQ(overTheHandheld(about, mostlyOff, screen), QPoint(0, 768 - 250));
}

TEST(OpeningPlace, PlacesTheDialogWhenShownAndAgainOnlyOnceTheHandheldHasMoved) {
  testing::application();
  QRect face(600, 300, 654, 394);
  QDialog dialog;
  dialog.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  dialog.setFixedSize(300, 200);
  new OpeningPlace(dialog, [&face] { return face; }, besideTheHandheld);
  dialog.show();
  EXPECT_EQ(dialog.pos(), QPoint(face.right() + 1 + 8, face.center().y() - 100 + 1));
  dialog.hide();
  dialog.move(20, 30);  // the player's place
  dialog.show();
  EXPECT_EQ(dialog.pos(), QPoint(20, 30));
  dialog.hide();
  face.moveTo(100, 100);
  dialog.show();
  EXPECT_EQ(dialog.pos(), QPoint(face.right() + 1 + 8, face.center().y() - 100 + 1));
}

}  // namespace
}  // namespace wuffel
