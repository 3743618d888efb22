// The main window at the players' sizes: clicks and touches find the
// handheld's buttons wherever the zoom puts them, each finger on its own.
#include <gtest/gtest.h>

#include <QPointingDevice>
#include <QTest>

#include <memory>

#include "app/face_pictures.h"
#include "app/main_window.h"
#include "core/rig.h"
#include "qt_application.h"
#include "store/player_settings_store.h"

namespace wuffel {
namespace {

using E = ElementId;

struct ZoomedWindow : testing::WithQtApplication, ::testing::Test {
  ZoomedWindow() {
    form.attach(&rig.handheld);
    rig.handheld.start();
  }
  static MemorySettings withModernKeys() {
    MemorySettings store;
    store.put("Settings/keys", true, "modern");
    return store;
  }
  // A point inside `id` at the window's zoom.
  QPoint at(E id, int zoom) const {
    const auto& e = elementInfo(id);
    return QPoint((e.left + 2) * zoom / 100, (e.top + 2) * zoom / 100);
  }
  MemorySettings store = withModernKeys();
  testing::Rig rig{testing::kFirstThrowInLane2, &store};
  FacePictures pictures;
  TForm1 form{pictures};
};

TEST_F(ZoomedWindow, TheSizeFollowsTheZoomAsFarAsTheScreenHoldsIt) {
  form.setZoom(200);
  EXPECT_EQ(form.size(), QSize(1308, 788));
  form.setZoom(125);
  EXPECT_EQ(form.size(), QSize(818, 493));
  // 400 % of the face would not fit on 1920 x 1080: 250 % is the most.
  form.setZoom(400);
  EXPECT_EQ(form.size(), QSize(1635, 985));
}

// A zoom left keeps none of its pictures: only those of the zoom shown,
// and the 1x assets every zoom may start from, stay.
TEST_F(ZoomedWindow, TheZoomLeftLetsGoOfItsPictures) {
  const qreal desktop = form.devicePixelRatioF();
  form.setZoom(250);
  form.grab();
  ASSERT_TRUE(pictures.holds(2.5 * desktop));
  form.setZoom(200);
  form.grab();
  EXPECT_FALSE(pictures.holds(2.5 * desktop));
  EXPECT_TRUE(pictures.holds(2 * desktop));
  form.setZoom(100);
  form.grab();
  EXPECT_FALSE(pictures.holds(2 * desktop));
  EXPECT_TRUE(pictures.holds(desktop));
  EXPECT_EQ(pictures.decodedAssetScales(), 1);
}

// Nothing of the window's listens to the store here: the keys size the
// window themselves, and the setting is stored after.
TEST_F(ZoomedWindow, CtrlPlusAndMinusSizeTheWindowThemselvesAndStoreTheZoom) {
  form.setZoom(100);
  QTest::keyClick(&form, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(form.size(), QSize(818, 493));
  EXPECT_EQ(rig.handheld.settings().zoom(), 125);
  EXPECT_EQ(PlayerSettingsStore(store).load().zoom(), 125);
  QTest::keyClick(&form, Qt::Key_Minus, Qt::ControlModifier);
  QTest::keyClick(&form, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(form.size(), QSize(654, 394));
  EXPECT_EQ(rig.handheld.settings().zoom(), 100);
  form.setZoom(250);
  QTest::keyClick(&form, Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(form.size(), QSize(654, 394));
  EXPECT_EQ(rig.handheld.settings().zoom(), 100);
}

TEST_F(ZoomedWindow, AClickOnAButtonActsAtAnyZoom) {
  form.setZoom(250);
  QTest::mousePress(&form, Qt::LeftButton, {}, at(E::Puls_GameA, 250));
  EXPECT_FALSE(rig.lit(E::Puls_GameA));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, at(E::Puls_GameA, 250));
  EXPECT_TRUE(rig.handheld.variables().GameRunning);
  QTest::mousePress(&form, Qt::LeftButton, {}, at(E::Puls_Up, 250));
  EXPECT_EQ(rig.handheld.variables().PlayerLane, 1);
  QTest::mouseRelease(&form, Qt::LeftButton, {}, at(E::Puls_Up, 250));
  EXPECT_TRUE(rig.lit(E::Puls_Up));
}

TEST_F(ZoomedWindow, EachFingerHoldsItsOwnButton) {
  form.setZoom(150);
  form.move(0, 0);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  rig.click(E::Puls_GameA);
  // Qt leaves the device to its caller to delete.
  const std::unique_ptr<QPointingDevice> device(QTest::createTouchDevice());
  QPointingDevice* screen = device.get();
  QTest::touchEvent(&form, screen).press(0, at(E::Puls_Down, 150));
  EXPECT_EQ(rig.handheld.variables().PlayerLane, 3);
  QTest::touchEvent(&form, screen).stationary(0).press(1, at(E::Puls_Hit, 150));
  EXPECT_FALSE(rig.lit(E::Puls_Down));
  EXPECT_FALSE(rig.lit(E::Puls_Hit));
  EXPECT_TRUE(rig.lit(E::Im_Wuffel3A)) << "the swing while Down is held";
  QTest::touchEvent(&form, screen).release(0, at(E::Puls_Down, 150)).stationary(1);
  EXPECT_TRUE(rig.lit(E::Puls_Down));
  EXPECT_FALSE(rig.lit(E::Puls_Hit));
  QTest::touchEvent(&form, screen).release(1, at(E::Puls_Hit, 150));
  EXPECT_TRUE(rig.lit(E::Puls_Hit));
}

// The window has no title bar to show it in: the face shows it too.
TEST_F(ZoomedWindow, ThePauseShowsInTheTitleAndOnTheFace) {
  form.setZoom(200);
  rig.click(E::Puls_GameA);
  const QImage running = form.grab().toImage();
  form.setPaused(true);
  EXPECT_EQ(form.windowTitle(), "Wuffel Tennis (Vantoro) Simulator (paused)");
  const QImage paused = form.grab().toImage();
  const QPoint glass((kScreenArea.left + 10) * 2, (kScreenArea.top + 150) * 2);
  EXPECT_LT(qGray(paused.pixel(glass)), qGray(running.pixel(glass)) * 3 / 4);
  form.setPaused(false);
  EXPECT_EQ(form.windowTitle(), "Wuffel Tennis (Vantoro) Simulator");
  EXPECT_EQ(form.grab().toImage(), running);
}

}  // namespace
}  // namespace wuffel
