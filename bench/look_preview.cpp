// look_preview: the main window with a panel look given on the command line,
// for looking at the look and taking screenshots until the settings dialog
// sets it. The handheld runs on virtual time kept at the pace of the real
// clock, with silent stand-ins for sound, the store and the shell.
//
//   look_preview [--ghosts N] [--contrast N] [--fade] [--game a|b] [--at X,Y]
//
// --game starts that game at once, so that balls fly; the desktop's scale
// comes from QT_SCALE_FACTOR or Xft.dpi as for the game.
#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>

#include <cstdio>

#include "app/face_pictures.h"
#include "app/main_window.h"
#include "core/rig.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  using namespace wuffel;
  PanelLook look;
  QString game;
  QPoint at(40, 40);
  const QStringList args = QApplication::arguments();
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    const QString value = i + 1 < args.size() ? args[i + 1] : QString();
    if (a == QLatin1String("--ghosts")) look.ghosts = value.toInt(), ++i;
    else if (a == QLatin1String("--contrast")) look.contrast = value.toInt(), ++i;
    else if (a == QLatin1String("--fade")) look.fade = true;
    else if (a == QLatin1String("--game")) game = value, ++i;
    else if (a == QLatin1String("--at")) at = QPoint(value.section(',', 0, 0).toInt(), value.section(',', 1, 1).toInt()), ++i;
    else {
      std::fprintf(stderr, "usage: look_preview [--ghosts N] [--contrast N] [--fade] [--game a|b] [--at X,Y]\n");
      return 2;
    }
  }

  testing::Rig rig;
  const FacePictures pictures;
  TForm1 window(pictures);
  window.attach(rig.handheld.get());
  window.setPanelLook(look);
  rig.handheld->start();
  if (game == QLatin1String("a")) rig.click(ElementId::Puls_GameA);
  if (game == QLatin1String("b")) rig.click(ElementId::Puls_GameB);

  QElapsedTimer clock;
  clock.start();
  QTimer pace;
  QObject::connect(&pace, &QTimer::timeout, [&] { rig.advanceTo(clock.elapsed()); });
  pace.start(5);
  window.move(at);
  window.show();
  return QApplication::exec();
}
