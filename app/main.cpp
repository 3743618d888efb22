// wuffel-tennis: the handheld in a window of its own.
#include <QApplication>
#include <QIcon>

#include "app/face_pictures.h"
#include "app/main_window.h"
#include "app/qt_ports.h"
#include "app/splash_window.h"
#include "game/handheld.h"
#include "app/app_sound.h"

int main(int argc, char** argv) {
  // Places and sizes are device pixels, whatever the desktop's scaling.
  if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING")) qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  using namespace wuffel;
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()));
  QApplication::setApplicationDisplayName(QApplication::applicationName());
  QGuiApplication::setDesktopFileName(QStringLiteral(WUFFEL_APP_ID));
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

  TForm1 form1(pictures);
  Handheld core(HandheldPorts{scheduler, timeOfDay, windows, errorBox, shell, sound.channels(), nullptr});
  handheld = &core;
  form1.attach(&core);
  TAboutForm aboutForm;
  TSplashForm splashForm(core);
  splashForm.move((windows.screenWidth() - splashForm.width()) / 2,
                  (windows.screenHeight() - splashForm.height()) / 2);
  windows.setWindow(WindowId::Form1, &form1);
  windows.setWindow(WindowId::AboutForm, &aboutForm);
  windows.setWindow(WindowId::SplashForm, &splashForm);

  core.start();
  const int status = QApplication::exec();
  sound.channels().closeAll();
  return status;
}
