// The players' settings in a real settings file, beside the best scores.
#include <gtest/gtest.h>

#include "store/player_settings_store.h"
#include "store_file.h"

namespace wuffel {
namespace {

using testing::FileStore;
using testing::StoreFolder;

struct SettingsFile : ::testing::Test, StoreFolder {};

TEST_F(SettingsFile, SettingsAreASectionOfTheirOwnAndLeaveTheBestScoresAlone) {
  putFile("[General]\nHiScoreA=250\nsettings=x\n\n[Settings]\nZOOM=150\nkeys=modern\nvolume=101\nmuted=yes\n");
  IniFileBackend backend;
  PlayerSettingsStore store(backend);
  PlayerSettings settings = store.load();
  EXPECT_EQ(settings.zoom(), 150);
  EXPECT_TRUE(settings.modernKeys());
  EXPECT_EQ(settings.volume(), 100);
  EXPECT_FALSE(settings.muted());

  settings.set(Setting::Zoom, 200);
  settings.set(Setting::PauseOnFocusLoss, 1);
  EXPECT_TRUE(store.save(Setting::Zoom, settings));
  EXPECT_TRUE(store.save(Setting::PauseOnFocusLoss, settings));
  EXPECT_TRUE(store.savePlace({-20, 300}));
  const QByteArray text = fileText();
  EXPECT_TRUE(text.startsWith("[General]\nHiScoreA=250\nsettings=x\n\n[Settings]\n")) << text.constData();
  EXPECT_TRUE(text.contains("\nZOOM=200\n")) << text.constData();
  EXPECT_FALSE(text.contains("zoom=")) << "one spelling of a name";
  EXPECT_TRUE(text.contains("\npause-on-focus-loss=1\n"));
  EXPECT_TRUE(text.contains("\nwindow-position=\"-20,300\"\n"));

  FileStore best;
  EXPECT_EQ(best.store.readInteger("HiscoreA", 0), 250);
  PlayerSettingsStore again(best.backend);
  EXPECT_EQ(again.load().zoom(), 200);
  ASSERT_TRUE(again.loadPlace());
  EXPECT_EQ(again.loadPlace()->left, -20);
  EXPECT_EQ(again.loadPlace()->top, 300);
}

TEST_F(SettingsFile, NoFileMeansTheDefaultsAndNoPlace) {
  IniFileBackend backend;
  PlayerSettingsStore store(backend);
  EXPECT_EQ(store.load(), PlayerSettings());
  EXPECT_FALSE(store.loadPlace());
}

}  // namespace
}  // namespace wuffel
