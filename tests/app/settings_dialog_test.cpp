// The Settings dialog on a real settings file: each change applies and is
// stored at once, "Restore defaults" brings back the original, a refusal is
// said once, what the keys change shows, and the panel's preview follows
// the display settings.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <vector>

#include "app/face_pictures.h"
#include "app/panel_preview.h"
#include "app/player_events_hub.h"
#include "app/settings_dialog.h"
#include "core/rig.h"
#include "qt_application.h"
#include "store/store_file.h"

namespace wuffel {
namespace {

struct Dialog : testing::WithQtApplication, ::testing::Test, testing::StoreFolder {
  Dialog() { hub.onAnySettingChanged.push_back([this](bool saved) { dialog->settingChanged(saved); }); }
  // A run of the program with its dialog, on the settings file as it is.
  void make() {
    dialog.reset();
    rig.reset();
    rig = std::make_unique<testing::Rig>(0, &backend, &hub);
    handheld = &rig->handheld;
    static const FacePictures pictures;
    dialog = std::make_unique<SettingsDialog>(*handheld, pictures);
  }
  template <typename W>
  W* widget(const char* name) {
    auto* w = dialog->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void chooseZoom(int percent) {
    auto* zoom = widget<QComboBox>("zoom");
    const int index = zoom->findData(percent);
    zoom->setCurrentIndex(index);
    emit zoom->activated(index);
  }
  QPushButton* restoreDefaults() {
    return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::RestoreDefaults);
  }

  IniFileBackend backend;
  PlayerEventsHub hub;
  std::unique_ptr<testing::Rig> rig;
  Handheld* handheld = nullptr;
  std::unique_ptr<SettingsDialog> dialog;
};

TEST_F(Dialog, EachChangeAppliesAndIsStoredAtOnceAndRestoringTheDefaultsBringsBackTheOriginal) {
  putFile("[General]\nHiScoreA=250\n");
  make();
  QTest::mouseClick(widget<QRadioButton>("keys-modern"), Qt::LeftButton);
  widget<QSlider>("volume")->setValue(40);
  QTest::mouseClick(widget<QCheckBox>("muted"), Qt::LeftButton);
  QTest::mouseClick(widget<QCheckBox>("pause-on-focus-loss"), Qt::LeftButton);
  QTest::mouseClick(widget<QCheckBox>("remember-position"), Qt::LeftButton);
  chooseZoom(250);
  const PlayerSettings& s = handheld->settings();
  EXPECT_TRUE(s.modernKeys());
  EXPECT_EQ(s.volume(), 40);
  EXPECT_TRUE(s.muted() && s.pauseOnFocusLoss() && s.rememberPosition());
  EXPECT_EQ(s.zoom(), 250);
  EXPECT_EQ(fileText(), "[General]\nHiScoreA=250\n\n[Settings]\nkeys=modern\nmuted=1\n"
                        "pause-on-focus-loss=1\nremember-position=1\nvolume=40\nzoom=250\n");
  EXPECT_FALSE(widget<QLabel>("not-saved")->isVisibleTo(dialog.get()));

  QTest::mouseClick(restoreDefaults(), Qt::LeftButton);
  EXPECT_EQ(handheld->settings(), PlayerSettings());
  EXPECT_TRUE(widget<QRadioButton>("keys-original")->isChecked());
  EXPECT_EQ(widget<QSlider>("volume")->value(), 100);
  EXPECT_EQ(widget<QComboBox>("zoom")->currentText(), "100 %");
  EXPECT_TRUE(fileText().contains("keys=original\n") && fileText().contains("zoom=100\n"));
  EXPECT_TRUE(fileText().startsWith("[General]\nHiScoreA=250\n"));
  // The next run starts with what was stored.
  widget<QSlider>("volume")->setValue(70);
  make();
  EXPECT_EQ(handheld->settings().volume(), 70);
  EXPECT_EQ(widget<QSlider>("volume")->value(), 70);
}

TEST_F(Dialog, ASettingTheStoreRefusesHoldsForTheRunAndTheDialogSaysSoOnce) {
  // A folder where the file should be: no write can replace it.
  QDir().mkpath(file());
  make();
  QTest::mouseClick(widget<QCheckBox>("muted"), Qt::LeftButton);
  EXPECT_TRUE(handheld->settings().muted());
  EXPECT_TRUE(widget<QLabel>("not-saved")->isVisibleTo(dialog.get()));
  QTest::mouseClick(widget<QRadioButton>("keys-modern"), Qt::LeftButton);
  EXPECT_TRUE(handheld->settings().modernKeys());
  EXPECT_EQ(dialog->findChildren<QLabel*>(QStringLiteral("not-saved")).size(), 1);
}

TEST_F(Dialog, ShowsWhatTheMuteKeyAndTheZoomKeysChanged) {
  putFile("[Settings]\nkeys=modern\n");
  make();
  handheld->start();
  handheld->splashPlay();
  handheld->keyDown(VirtualKey::M);
  EXPECT_TRUE(widget<QCheckBox>("muted")->isChecked());
  handheld->changeSetting(Setting::Zoom, 150);
  EXPECT_EQ(widget<QComboBox>("zoom")->currentText(), "150 %");
  EXPECT_TRUE(fileText().contains("muted=1\n"));
}

TEST_F(Dialog, TheDisplaySettingsApplyAndAreStoredAtOnceAndThePreviewShowsThemWhileDragged) {
  make();
  auto* preview = widget<PanelPreview>("panel-preview");
  auto* ghosts = widget<QSlider>("ghosts");
  auto* contrast = widget<QSlider>("contrast");
  EXPECT_EQ(ghosts->maximum(), PanelLook::kMaxGhosts);
  EXPECT_EQ(contrast->minimum(), PanelLook::kMinContrast);
  const QImage original = preview->grab().toImage();

  // A drag shows in the preview at once; the setting changes when let go.
  ghosts->setSliderDown(true);
  ghosts->setSliderPosition(20);
  EXPECT_EQ(preview->look().ghosts, 20);
  EXPECT_EQ(handheld->settings().ghosts(), 0);
  ghosts->setSliderDown(false);
  EXPECT_EQ(handheld->settings().ghosts(), 20);
  const QImage ghosted = preview->grab().toImage();
  EXPECT_NE(ghosted, original) << "the unlit segments should show";

  contrast->setValue(60);
  QTest::mouseClick(widget<QCheckBox>("fade"), Qt::LeftButton);
  EXPECT_EQ(PanelLook::of(handheld->settings()), (PanelLook{20, 60, true}));
  EXPECT_EQ(preview->look(), (PanelLook{20, 60, true}));
  EXPECT_TRUE(fileText().contains("ghosts=20\n") && fileText().contains("contrast=60\n") &&
              fileText().contains("fade=1\n"));

  // The ball runs only while the fade is on and the preview is shown.
  EXPECT_FALSE(preview->isMoving()) << "the dialog is not shown";
  dialog->show();
  EXPECT_FALSE(preview->isMoving()) << "the display's section is not shown";
  auto* sections = widget<QTabWidget>("sections");
  sections->setCurrentIndex(sections->indexOf(preview->parentWidget()));
  EXPECT_TRUE(preview->isMoving());
  dialog->hide();
  EXPECT_FALSE(preview->isMoving());

  QTest::mouseClick(restoreDefaults(), Qt::LeftButton);
  EXPECT_EQ(preview->look(), PanelLook());
  EXPECT_EQ(ghosts->value(), 0);
  EXPECT_EQ(preview->grab().toImage(), original);
}

// The settings pause a running game; however the dialog is closed, the
// game goes on.
TEST_F(Dialog, ClosingTheDialogResumesTheGameItsOpeningPaused) {
  make();
  handheld->start();
  rig->click(ElementId::Puls_GameA);
  const std::vector<std::function<void()>> closings{
      [&] { dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click(); },
      [&] { QTest::keyClick(dialog.get(), Qt::Key_Escape); },
      [&] { dialog->close(); },
  };
  for (const auto& close : closings) {
    handheld->chooseMenuItem(MenuCommand::PM_Settings);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    ASSERT_TRUE(handheld->paused());
    close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(handheld->paused());
  }
}

// Also on a 1366 x 768 screen at 100 % and on a 1920 x 1080 one at 200 %,
// 960 x 540 in the desktop's pixels, with room for a title bar and a panel.
TEST_F(Dialog, FitsASmallScreenAtTwiceTheDesktopsScale) {
  make();
  const QSize room(960, 540 - 80);
  dialog->show();
  for (const QSize size : {dialog->size(), dialog->minimumSizeHint()}) {
    EXPECT_LE(size.width(), room.width());
    EXPECT_LE(size.height(), room.height());
  }
}

TEST_F(Dialog, SpeedAssistAndTheGrilleAreOfferedAppliedAndStoredAndTheOriginalComesBack) {
  make();
  auto* speed = widget<QComboBox>("speed");
  ASSERT_EQ(speed->count(), static_cast<int>(kSpeedSteps.size()));
  EXPECT_EQ(speed->currentData().toInt(), 100);
  const int half = speed->findData(50);
  speed->setCurrentIndex(half);
  emit speed->activated(half);
  QTest::mouseClick(widget<QCheckBox>("assist"), Qt::LeftButton);
  QTest::mouseClick(widget<QCheckBox>("sound-cues"), Qt::LeftButton);
  const PlayerSettings& s = handheld->settings();
  EXPECT_EQ(s.speed(), 50);
  EXPECT_TRUE(s.assist() && s.soundCues());
  EXPECT_TRUE(fileText().contains("speed=50\n") && fileText().contains("assist=1\n") &&
              fileText().contains("sound-cues=1\n"));
  make();
  EXPECT_EQ(widget<QComboBox>("speed")->currentData().toInt(), 50);
  EXPECT_TRUE(widget<QCheckBox>("assist")->isChecked());
  QTest::mouseClick(restoreDefaults(), Qt::LeftButton);
  EXPECT_EQ(handheld->settings(), PlayerSettings());
  EXPECT_FALSE(widget<QCheckBox>("sound-cues")->isChecked());
}

}  // namespace
}  // namespace wuffel
