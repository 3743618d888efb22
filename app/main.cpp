// wuffel-tennis: the handheld in a window of its own.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTimer>

#include <future>
#include <memory>

#include "app/app_sound.h"
#include "app/face_pictures.h"
#include "app/main_window.h"
#include "app/qt_ports.h"
#include "app/splash_window.h"
#include "game/handheld.h"

int main(int argc, char** argv) {
  // Places and sizes are device pixels, whatever the desktop's scaling.
  if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING")) qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  using namespace wuffel;
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()));
  QApplication::setApplicationDisplayName(QApplication::applicationName());
  QGuiApplication::setDesktopFileName(QStringLiteral(WUFFEL_APP_ID));
  installFontSubstitutes();
  // Work the first window does not wait for runs beside its building (whose
  // longest step is loading the fonts): the icon, and the face's pixels,
  // first drawn once "- PLAY -" brings the handheld onto the screen.
  auto decodedIcon = std::async(std::launch::async, [] {
    return QImage(QStringLiteral(":/assets/icon/wuffel-tennis-256.png"));
  });
  auto decodedPictures = std::async(std::launch::async, [] { return std::make_unique<FacePictures>(); });

  Handheld* handheld = nullptr;
  QtTimerScheduler scheduler([&handheld](int index) { handheld->timerFired(index); });
  SystemTimeOfDay timeOfDay;
  QtWindows windows;
  QtErrorBox errorBox;
  QtShell shell;
  AppSound sound;

  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(decodedIcon.get())));
  Handheld core(HandheldPorts{scheduler, timeOfDay, windows, errorBox, shell, sound.channels(), nullptr});
  handheld = &core;
  // The Qt windows are built before the core runs any of their handlers
  // (core.start() below), so the face's window is built last, once its
  // pictures are there.
  TAboutForm aboutForm;
  TSplashForm splashForm(core);
  splashForm.move((windows.screenWidth() - splashForm.width()) / 2,
                  (windows.screenHeight() - splashForm.height()) / 2);
  const std::unique_ptr<FacePictures> pictures = decodedPictures.get();
  TForm1 form1(*pictures);
  form1.attach(&core);
  windows.setWindow(WindowId::Form1, &form1);
  windows.setWindow(WindowId::AboutForm, &aboutForm);
  windows.setWindow(WindowId::SplashForm, &splashForm);

  core.start();
  // The audio device and its libraries, once the first window is up.
  QTimer::singleShot(0, [&sound] { sound.startDevice(); });
  const int status = QApplication::exec();
  sound.channels().closeAll();
  return status;
}
