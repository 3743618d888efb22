// wuffel-tennis: the handheld in a window of its own.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTimer>

#include <future>

#include "app/app_sound.h"
#include "app/command_menu.h"
#include "app/face_pictures.h"
#include "app/main_window.h"
#include "app/qt_ports.h"
#include "app/splash_window.h"
#include "game/handheld.h"
#include "store/qsettings_backend.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  using namespace wuffel;
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()));
  QApplication::setApplicationDisplayName(QApplication::applicationName());
  QGuiApplication::setDesktopFileName(QStringLiteral(WUFFEL_APP_ID));
  installFontSubstitutes();
  // The icon is decoded beside the windows' building, whose longest step is
  // loading the fonts. The face's pixels are decoded when the handheld is
  // first drawn, once "- PLAY -" brings it onto the screen.
  auto decodedIcon = std::async(std::launch::async, [] {
    return QImage(QStringLiteral(":/assets/icon/wuffel-tennis-256.png"));
  });

  Handheld* handheld = nullptr;
  QtTimerScheduler scheduler([&handheld](int index) { handheld->timerFired(index); });
  SystemTimeOfDay timeOfDay;
  QtWindows windows;
  QtErrorBox errorBox;
  QtShell shell;
  AppSound sound;
  QSettingsBackend settings;
  QtBeep beep;
  QtMessageLoop messageLoop;

  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(decodedIcon.get())));
  Handheld core(HandheldPorts{scheduler, timeOfDay, windows, errorBox, shell, sound.channels(), settings,
                              beep, messageLoop});
  handheld = &core;
  // The Qt windows are built before the core runs any of their handlers
  // (core.start() below), so their order among themselves is free.
  TAboutForm aboutForm;
  TSplashForm splashForm(core);
  splashForm.move((windows.screenWidth() - splashForm.width()) / 2,
                  (windows.screenHeight() - splashForm.height()) / 2);
  const FacePictures pictures;
  TForm1 form1(pictures);
  form1.attach(&core);
  windows.setWindow(WindowId::Form1, &form1);
  windows.setWindow(WindowId::AboutForm, &aboutForm);
  windows.setWindow(WindowId::SplashForm, &splashForm);
  // The splash window's menu, shown over the main window: a popup needs a
  // shown window beneath it, and the splash window is hidden for most of the run.
  CommandMenu commandMenu(&form1, [&core](MenuCommand command) { core.chooseMenuItem(command); });
  windows.setCommandMenu(&commandMenu);

  core.start();
  // The audio device and its libraries, once the first window is up.
  QTimer::singleShot(0, [&sound] { sound.startDevice(); });
  const int status = QApplication::exec();
  sound.channels().closeAll();
  return status;
}
