// A setting saved outside the Settings dialog (the zoom keys, the window's
// place) that the store refuses: the player is told once per run, and why,
// and the dialog says it when it is opened later.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include "app/face_pictures.h"
#include "app/player_events_hub.h"
#include "app/settings_dialog.h"
#include "app/unsaved_settings_notice.h"
#include "app/window_place_memory.h"
#include "core/rig.h"
#include "qt_application.h"
#include "store/store_file.h"

namespace wuffel {
namespace {

struct Unsaved : testing::WithQtApplication, ::testing::Test, testing::StoreFolder {
  QList<QMessageBox*> boxes() const { return window.findChildren<QMessageBox*>(QStringLiteral("settings-not-saved")); }

  IniFileBackend backend;
  PlayerEventsHub hub;
  testing::Rig rig{0, &backend, &hub};
  QWidget window;
  UnsavedSettingsNotice notice{&window, [this] { return backend.refusal(); }};
};

TEST_F(Unsaved, ARefusedSettingIsToldOnceWithItsReasonAndTheDialogSaysItLater) {
  QDir().mkpath(file());  // a folder where the file should be: nothing can be saved
  hub.onAnySettingChanged.push_back([this](bool saved) {
    if (!saved) notice.refused(false);
  });
  rig.handheld.changeSetting(Setting::Zoom, 150);
  ASSERT_EQ(boxes().size(), 1);
  EXPECT_TRUE(boxes()[0]->isVisible());
  EXPECT_TRUE(boxes()[0]->text().contains(file() + " is not a plain file")) << boxes()[0]->text().toStdString();
  rig.handheld.changeSetting(Setting::Zoom, 200);
  EXPECT_EQ(rig.handheld.settings().zoom(), 200);

  // The window's place, stored once it rests after a move.
  rig.handheld.changeSetting(Setting::RememberPosition, 1);
  int placesNotSaved = 0;
  WindowPlaceMemory place(window, rig.handheld, [&] {
    ++placesNotSaved;
    notice.refused(false);
  });
  window.show();
  window.move(40, 50);
  QTest::qWait(700);
  EXPECT_EQ(placesNotSaved, 1);
  EXPECT_EQ(boxes().size(), 1) << "told once per run";

  static const FacePictures pictures;
  SettingsDialog dialog(rig.handheld, pictures);
  dialog.showNotSaved(notice.text());
  auto* label = dialog.findChild<QLabel*>(QStringLiteral("not-saved"));
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->isVisibleTo(&dialog));
  EXPECT_TRUE(label->text().contains("is not a plain file"));
}

TEST_F(Unsaved, NoMessageWhileTheDialogIsThereToSayIt) {
  QDir().mkpath(file());
  backend.useKey(kHiScoreKey);
  EXPECT_FALSE(PlayerSettingsStore(backend).savePlace({1, 2}));
  notice.refused(true);
  EXPECT_TRUE(boxes().isEmpty());
  EXPECT_TRUE(notice.text().contains("could not be saved"));
}

}  // namespace
}  // namespace wuffel
