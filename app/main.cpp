// wuffel-tennis: the handheld in a window of its own.
#include <QApplication>
#include <QIcon>

#include "app/command_menu.h"
#include "app/face_pictures.h"
#include "app/main_window.h"
#include "app/qt_ports.h"
#include "app/splash_window.h"
#include "game/handheld.h"
#include "app/app_sound.h"
#include "store/qsettings_backend.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  using namespace wuffel;
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()));
  QApplication::setApplicationDisplayName(QApplication::applicationName());
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon/wuffel-tennis-256.png")));
  installFontSubstitutes();

  FacePictures pictures;
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

  TForm1 form1(pictures);
  Handheld core(HandheldPorts{scheduler, timeOfDay, windows, errorBox, shell, sound.channels(), settings,
                              beep, messageLoop});
  handheld = &core;
  form1.attach(&core);
  TAboutForm aboutForm;
  TSplashForm splashForm(core);
  splashForm.move((windows.screenWidth() - splashForm.width()) / 2,
                  (windows.screenHeight() - splashForm.height()) / 2);
  windows.setWindow(WindowId::Form1, &form1);
  windows.setWindow(WindowId::AboutForm, &aboutForm);
  windows.setWindow(WindowId::SplashForm, &splashForm);
  // The splash window's menu, shown over the main window: a popup needs a
  // shown window beneath it, and the splash window is hidden for most of the run.
  CommandMenu commandMenu(&form1, [&core](MenuCommand command) { core.chooseMenuItem(command); });
  windows.setCommandMenu(&commandMenu);

  core.start();
  const int status = QApplication::exec();
  sound.channels().closeAll();
  return status;
}
