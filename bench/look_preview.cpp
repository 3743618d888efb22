// look_preview: the main window with a panel look given on the command line,
// for looking at the look and taking screenshots until the settings dialog
// sets it. The handheld runs on the window program's timers and clock, with
// silent stand-ins for sound, the store, the shell and the other windows, so
// it wakes exactly as the game does.
//
//   look_preview [--ghosts N] [--contrast N] [--fade] [--game a|b] [--at X,Y]
//
// --game starts that game at once, so that balls fly; the desktop's scale
// comes from QT_SCALE_FACTOR or Xft.dpi as for the game.
#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

#include "app/face_pictures.h"
#include "app/main_window.h"
#include "app/qt_ports.h"
#include "app/qt_timeline.h"
#include "game/handheld.h"
#include "sim/stand_ins.h"
#include "store/memory_settings.h"

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

  // The sound's clock is the program's running time, as the window program's is.
  class ElapsedClock : public MediaClock {
   public:
    ElapsedClock() { clock_.start(); }
    std::int64_t nowMs() const override { return clock_.elapsed(); }

   private:
    QElapsedTimer clock_;
  } mediaClock;
  const sim::PlatformSetup setup;
  sim::StandInWindows windows(setup.screenWidth, setup.screenHeight, nullptr);
  sim::StandInErrorBox errorBox(nullptr);
  sim::StandInShell shell(nullptr);
  sim::StandInBeep beep(nullptr);
  sim::StandInMessageLoop messageLoop;
  sim::StandInQuestionBox questions(nullptr);
  SilentOutput output;
  sim::StandInSoundFiles soundFiles(setup, output);
  SoundChannels channels(mediaClock, soundFiles, output, nullptr);
  MemorySettings settings;
  Handheld* handheld = nullptr;
  QtTimeline timeline(static_cast<int>(kTimers.size()), [&](int index) { handheld->timerFired(index); });
  TimelineScheduler& scheduler = timeline.scheduler();
  TimelineTimeOfDay timeOfDay = TimelineTimeOfDay::fromSystemClock(scheduler);
  Handheld core(HandheldPorts{scheduler, timeOfDay, windows, errorBox, shell, channels, settings, beep, messageLoop,
                              questions});
  handheld = &core;
  core.observeInputs(&timeline);

  const FacePictures pictures;
  TForm1 window(pictures);
  window.attach(handheld);
  window.setPanelLook(look);
  core.start();
  if (!game.isEmpty()) {
    const auto& button = elementInfo(game == QLatin1String("b") ? ElementId::Puls_GameB : ElementId::Puls_GameA);
    core.mousePress(button.left + 1, button.top + 1, MouseButton::Left);
    core.mouseRelease(button.left + 1, button.top + 1, MouseButton::Left);
  }
  window.move(at);
  window.show();
  return QApplication::exec();
}
