// Watching recorded games in the main window: a replay drawn on its face
// at the real pace (or faster) with its sounds, steered by keys, while the
// handheld itself waits unseen and hears nothing. The watching keys and
// the menu's watching items are taken here, before the handheld's keys.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "frontend/watching.h"
#include "sim/replay.h"

namespace wuffel {

class GameRecordings;
class Handheld;
class TForm1;

class Watching : public QObject {
 public:
  // The replay's sounds go to `sound`, the program's own device.
  Watching(TForm1& form, sim::SoundPorts sound, const Handheld& handheld, GameRecordings& recordings);
  ~Watching() override;

  // Watches a recording's text; a text that cannot be watched is said in a
  // message box, and false returned.
  bool watch(const std::string& text);
  // Reads a recording's file and watches it.
  bool watchFile(const QString& path);
  bool active() const { return replay_ != nullptr; }
  // Told of the replay's sounds as it starts, and of none as it ends.
  void onSounds(std::function<void(const SoundChannels*)> shown) { soundsShown_ = std::move(shown); }
  // The replay shown, if any.
  const sim::Replay* replay() const { return replay_.get(); }
  const ReplayPace& pace() const { return pace_; }
  void end();

  // A menu item or its key.
  void choose(WatchCommand command);
  // Whether it can be chosen now: nothing is watched while a game is played.
  bool canChoose(WatchCommand command) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void nextFrame();
  void steer(ReplayKey key);
  bool endsOnPress(const QPointF& at) const;
  void refuse(const QString& why);

  TForm1& form_;
  sim::SoundPorts sound_;
  const Handheld& handheld_;
  GameRecordings& recordings_;
  std::unique_ptr<sim::Replay> replay_;
  ReplayPace pace_;
  QTimer frames_;
  QElapsedTimer clock_;
  qint64 lastFrameAt_ = 0;
  std::function<void(const SoundChannels*)> soundsShown_;
  bool endingPressHeld_ = false;  // the press that ended a replay: its release goes nowhere
};

}  // namespace wuffel
