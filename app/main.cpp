// wuffel-tennis: the handheld in a window of its own.
#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "app/app_sound.h"
#include "app/face_accessibility.h"
#include "app/face_pictures.h"
#include "app/game_recordings.h"
#include "app/gamepads.h"
#include "app/grille_cue_watch.h"
#include "app/main_window.h"
#include "app/menu_key.h"
#include "app/menu_popup.h"
#include "app/opening_place.h"
#include "app/player_events_hub.h"
#include "app/ini_file_backend.h"
#include "app/qt_ports.h"
#include "app/qt_text.h"
#include "app/qt_timeline.h"
#include "app/settings_dialog.h"
#include "app/single_instance.h"
#include "app/splash_window.h"
#include "app/unsaved_settings_notice.h"
#include "app/watching.h"
#include "app/window_place_memory.h"
#include "frontend/aided_best_caption.h"
#include "frontend/announcer.h"
#include "frontend/timeline_clocks.h"
#include "game/handheld.h"

namespace {

// Runs a task once a window has been drawn for the first time.
class AfterFirstPaint : public QObject {
 public:
  AfterFirstPaint(QWidget* window, std::function<void()> task) : task_(std::move(task)) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && task_) {
      watched->removeEventFilter(this);
      // After the paint has reached the screen.
      QTimer::singleShot(0, std::exchange(task_, nullptr));
    }
    return false;
  }

 private:
  std::function<void()> task_;
};

std::int64_t steadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv) {
  wuffel::AppSound::nameTheStream();
  // Fontconfig reads its configuration and font lists beside Qt's start,
  // which needs none of it: the splash window's first paint, which needs
  // them, comes sooner. Joined before the process ends, whichever way.
  const std::jthread fontConfiguration([] { FcInit(); });
  QApplication app(argc, argv);
  using namespace wuffel;
  // wuffel-tennis --replay FILE: the program opens watching that recording.
  const QStringList arguments = QApplication::arguments();
  const qsizetype replayArgument = arguments.indexOf(QStringLiteral("--replay"));
  if (replayArgument > 0 && replayArgument + 1 >= arguments.size()) {
    std::fputs("wuffel-tennis: --replay needs the file of a recording: wuffel-tennis --replay FILE\n", stderr);
    return 2;
  }
  QApplication::setApplicationName(qtText(kApplicationTitle));
  // No display name: Qt would append it to every window's title, and the
  // windows carry their own ("About Wuffel Tennis...", "About the author...").
  QGuiApplication::setDesktopFileName(QStringLiteral(WUFFEL_APP_ID));
  // A copy already running is brought to the front instead.
  std::function<void()> bringToFront;
  SingleInstance instance;
  if (!instance.claim([&bringToFront] {
        if (bringToFront) bringToFront();
      }))
    return 0;
  installFontSubstitutes();

  Handheld* handheld = nullptr;
  QtTimeline timeline(static_cast<int>(kTimers.size()), [&handheld](int index) { handheld->timerFired(index); });
  TimelineScheduler& scheduler = timeline.scheduler();
  TimelineTimeOfDay timeOfDay = TimelineTimeOfDay::fromSystemClock(scheduler);
  QtWindows windows;
  QtErrorBox errorBox;
  QtShell shell;
  AppSound sound;
  IniFileBackend settings;
  QtBeep beep;
  QtMessageLoop messageLoop;
  QtQuestionBox questions;

  PlayerEventsHub playerEvents;
  HandheldPorts ports{scheduler, timeOfDay, windows, errorBox, shell, sound.channels(), settings, beep, messageLoop,
                      questions};
  ports.playerEvents = &playerEvents;
  Handheld core(ports);
  handheld = &core;
  core.observeInputs(&timeline);
  GameRecordings recordings(core, scheduler, timeOfDay, windows);
  // The Qt windows are built before the core runs any of their handlers
  // (core.start() below), so their order among themselves is free.
  TSplashForm splashForm(core);
  const WindowPosition splashAt =
      centredOnScreen({splashForm.width(), splashForm.height()}, windows.screenWidth(), windows.screenHeight());
  splashForm.move(splashAt.left, splashAt.top);
  const FacePictures pictures;
  TForm1 form1(pictures);
  form1.attach(&core);
  questions.setOwner(&form1);
  // What a screen reader hears: the face's buttons and score, and the game told as it goes.
  FaceAccessibility faceAccessibility(form1);
  core.observeGame(&faceAccessibility);
  Announcer announcer(steadyMs, [&faceAccessibility](const std::string& s) { faceAccessibility.announce(s); });
  core.observeGame(&announcer);
  form1.setZoom(core.settings().zoom());
  const auto showPanelLook = [&form1, &core] { form1.setPanelLook(PanelLook::of(core.settings())); };
  showPanelLook();
  windows.setWindow(WindowId::Form1, &form1);
  // Hidden until the menu asks for it; its picture and labels would only
  // delay the splash window.
  windows.setWindowMaker(WindowId::AboutForm, [&form1] {
    auto about = std::make_unique<TAboutForm>();
    new OpeningPlace(*about, [&form1] { return form1.faceOnScreen(); }, overTheHandheld);
    return about;
  });
  windows.setWindow(WindowId::SplashForm, &splashForm);
  // The command menu pops up over the main window: a popup needs a
  // shown window beneath it, and the splash window is hidden for most of the run.
  MenuPopup menuPopup(&form1, [&core](MenuCommand command) { core.chooseMenuItem(command); },
                      [&core](const MenuItem& item) { return core.menuItemState(item); });
  windows.setMenuPopup(&menuPopup);
  // Before the watching's keys, which come first while a game is watched.
  MenuKey menuKey(form1, core);
  Watching watching(form1, sim::SoundPorts{&sound.files(), &sound.output()}, core, recordings);
  menuPopup.addWatchItems([&watching](WatchCommand command) { watching.choose(command); },
                          [&watching](WatchCommand command) { return watching.canChoose(command); });
  bringToFront = [&form1, &splashForm] {
    QWidget* window = form1.isVisible() ? static_cast<QWidget*>(&form1) : &splashForm;
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
  };
  QObject::connect(&app, &QGuiApplication::applicationStateChanged, [&core](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) core.deactivateMainWindow();
  });

  std::unique_ptr<SettingsDialog> settingsDialog;
  UnsavedSettingsNotice unsaved(&form1, [&settings] { return settings.refusal(); });
  const auto notSaved = [&] {
    unsaved.refused(settingsDialog && settingsDialog->isVisible());
    if (settingsDialog) settingsDialog->showNotSaved(unsaved.text());
  };
  playerEvents.onSettingsRequested = [&] {
    if (!settingsDialog) {
      settingsDialog = std::make_unique<SettingsDialog>(core, pictures, &form1);
      new OpeningPlace(*settingsDialog, [&form1] { return form1.faceOnScreen(); }, besideTheHandheld);
      if (!unsaved.text().isEmpty()) settingsDialog->showNotSaved(unsaved.text());
    }
    settingsDialog->show();
    settingsDialog->raise();
    settingsDialog->activateWindow();
  };
  playerEvents.subscribe(Setting::Zoom, [&form1](int zoom) { form1.setZoom(zoom); });
  for (const Setting look : {Setting::Ghosts, Setting::Contrast, Setting::Fade})
    playerEvents.subscribe(look, [&showPanelLook](int) { showPanelLook(); });
  playerEvents.onAnySettingChanged.push_back([&](bool saved) {
    if (settingsDialog) settingsDialog->settingChanged(saved);
    if (!saved) notSaved();
  });
  GrilleCueWatch cueWatch(sound.channels(), [&form1](SoundCue cue) { form1.setSoundCue(cue); });
  cueWatch.setEnabled(core.settings().soundCues());
  playerEvents.subscribe(Setting::SoundCues, [&cueWatch](int on) { cueWatch.setEnabled(on != 0); });
  // A replay's sounds show on the grille while it plays.
  watching.onSounds(
      [&cueWatch, &sound](const SoundChannels* replay) { cueWatch.follow(replay ? *replay : sound.channels()); });
  playerEvents.onAidedBestShown = [&form1, &core](bool shown) {
    form1.setCaseCaption(shown ? QString::fromStdString(aidedBestCaption(core.settings())) : QString());
  };
  playerEvents.onPauseChanged.push_back([&form1](bool paused) { form1.setPaused(paused); });
  WindowPlaceMemory place(form1, core, notSaved);
  Gamepads gamepads([&core](Control control, ControlSource source, bool down) {
    down ? core.controlDown(control, source) : core.controlUp(control, source);
  });

  // What the splash window does not show waits until it is drawn: the
  // audio device and its libraries (a sound asked for before then waits for
  // them), SDL for the gamepads and the icon. Loading them beside the
  // window's building only slows both.
  AfterFirstPaint startSound(&splashForm, [&sound, &gamepads] {
    sound.startDevice();
    gamepads.startSoon();
    // The window manager shows the icon once it is set.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon/wuffel-tennis-256.png")));
  });
  core.start();
  // The replay begins as the handheld comes on the screen.
  std::optional<AfterFirstPaint> startReplay;
  if (replayArgument > 0)
    startReplay.emplace(&form1, [&watching, file = arguments[replayArgument + 1]] { watching.watchFile(file); });
  const int status = QApplication::exec();
  unsaved.toStandardError();
  place.keep();
  if (!sound.shutDown()) {
    // Static destructors would tear the audio output's statics down under
    // the thread still waiting for the sound server.
    std::fflush(nullptr);
    std::quick_exit(status);
  }
  return status;
}
