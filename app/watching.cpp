#include "app/watching.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSaveFile>

#include <utility>

#include "app/game_recordings.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "frontend/face_pointing.h"
#include "frontend/recording_file.h"
#include "game/handheld.h"

namespace wuffel {

namespace {
constexpr int kFrameMs = 10;  // the replay's ticks come at most this late

const QString kRecordingsFilter = QStringLiteral("Recordings (*.wuffel);;All files (*)");

// The key as the watching tables name it: "F6", "Ctrl+S", "Space", "Esc".
std::string keyName(const QKeyEvent& event) {
  const Qt::KeyboardModifiers ctrl = event.modifiers() & Qt::ControlModifier;
  return QKeySequence(event.key() | ctrl).toString(QKeySequence::PortableText).toStdString();
}
}  // namespace

Watching::Watching(TForm1& form, sim::SoundPorts sound, const Handheld& handheld, GameRecordings& recordings)
    : form_(form), sound_(sound), handheld_(handheld), recordings_(recordings) {
  frames_.setTimerType(Qt::PreciseTimer);
  connect(&frames_, &QTimer::timeout, this, [this] { nextFrame(); });
  form_.installEventFilter(this);
}

Watching::~Watching() { form_.removeEventFilter(this); }

bool Watching::canChoose(WatchCommand command) const {
  if (handheld_.variables().GameRunning || handheld_.paused()) return false;
  switch (command) {
    case WatchCommand::BestGameA: return QFile::exists(GameRecordings::bestGamePath('A'));
    case WatchCommand::BestGameB: return QFile::exists(GameRecordings::bestGamePath('B'));
    case WatchCommand::LastGame:
    case WatchCommand::SaveLastGame: return recordings_.lastGame().has_value();
    case WatchCommand::OpenRecording: return true;
  }
  return false;
}

void Watching::choose(WatchCommand command) {
  if (!canChoose(command)) return;
  switch (command) {
    case WatchCommand::BestGameA: watchFile(GameRecordings::bestGamePath('A')); return;
    case WatchCommand::BestGameB: watchFile(GameRecordings::bestGamePath('B')); return;
    case WatchCommand::LastGame: watch(recordings_.lastGame()->text); return;
    case WatchCommand::OpenRecording: {
      const QString path = QFileDialog::getOpenFileName(&form_, QStringLiteral("Watch a recording"),
                                                        GameRecordings::folder(), kRecordingsFilter);
      if (!path.isEmpty()) watchFile(path);
      return;
    }
    case WatchCommand::SaveLastGame: {
      const auto last = recordings_.lastGame();
      const QString path = QFileDialog::getSaveFileName(&form_, QStringLiteral("Save this game"),
                                                        QDir::home().filePath(last->name), kRecordingsFilter);
      if (path.isEmpty()) return;
      QSaveFile file(path);
      if (!file.open(QIODevice::WriteOnly) ||
          file.write(last->text.data(), static_cast<qint64>(last->text.size())) < 0 || !file.commit())
        refuse(QStringLiteral("The game could not be saved as %1: %2.").arg(path, file.errorString()));
      return;
    }
  }
}

bool Watching::watchFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    refuse(QStringLiteral("%1 cannot be read: %2.").arg(path, file.errorString()));
    return false;
  }
  // Read no further than a recording can go: a device or a pipe may not end.
  const QByteArray text = file.read(kLongestRecordingBytes + 1);
  if (text.size() > kLongestRecordingBytes) {
    refuse(QStringLiteral("%1 is too large to be a recording of a game.").arg(path));
    return false;
  }
  return watch(text.toStdString());
}

bool Watching::watch(const std::string& text) {
  end();
  // A game being played is never hidden.
  if (handheld_.variables().GameRunning || handheld_.paused()) return false;
  auto opened = sim::Replay::open(text, &form_, sound_);
  if (auto* why = std::get_if<std::string>(&opened)) {
    refuse(QString::fromStdString(*why));
    return false;
  }
  replay_ = std::move(std::get<std::unique_ptr<sim::Replay>>(opened));
  pace_ = {};
  form_.showFace(&replay_->handheld().faceState());
  if (soundsShown_) soundsShown_(&replay_->channels());
  form_.setWindowTitle(qtText(kApplicationTitle) + qtText(kReplayTitleSuffix));
  clock_.start();
  lastFrameAt_ = 0;
  frames_.start(kFrameMs);
  return true;
}

void Watching::end() {
  if (!replay_) return;
  frames_.stop();
  form_.showFace(nullptr);
  if (soundsShown_) soundsShown_(nullptr);
  replay_.reset();
  form_.setWindowTitle(qtText(kApplicationTitle));
}

void Watching::nextFrame() {
  const qint64 now = clock_.elapsed();
  const std::int64_t gameMs = pace_.gameMsOf(now - lastFrameAt_);
  lastFrameAt_ = now;
  // Its last face stays until the player ends the replay.
  if (!replay_->play(gameMs)) frames_.stop();
}

void Watching::steer(ReplayKey key) {
  if (key == ReplayKey::End) return end();
  const bool wasPaused = pace_.paused();
  pace_.apply(key);
  if (pace_.paused() == wasPaused) return;
  pace_.paused() ? replay_->pause() : replay_->resume();
}

// A press on any of the game's buttons ends the replay.
bool Watching::endsOnPress(const QPointF& at) const {
  const QPoint p = form_.toFace(at);
  return hintAt(handheld_.faceState(), p.x(), p.y()) != nullptr;
}

// Said beside the handheld, which goes on meanwhile.
void Watching::refuse(const QString& why) {
  auto* box = new QMessageBox(QMessageBox::Warning, qtText(kApplicationTitle), why, QMessageBox::Ok, &form_);
  box->setObjectName(QStringLiteral("WatchingRefused"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

bool Watching::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto& key = static_cast<const QKeyEvent&>(*event);
      const std::string name = keyName(key);
      if (const auto command = watchCommandForKey(name)) {
        if (!key.isAutoRepeat()) choose(*command);
        return true;
      }
      if (!replay_ || TForm1::isWindowKey(key)) return false;
      if (const auto steering = replayKeyFor(name); steering && !key.isAutoRepeat()) steer(*steering);
      return true;
    }
    case QEvent::KeyRelease: {
      const auto& key = static_cast<const QKeyEvent&>(*event);
      return watchCommandForKey(keyName(key)) || (replay_ && !TForm1::isWindowKey(key));
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      if (!replay_) return false;
      const auto& mouse = static_cast<const QMouseEvent&>(*event);
      // The command menu still opens.
      if (mouse.button() == Qt::RightButton) return false;
      if (endsOnPress(mouse.position())) {
        end();
        endingPressHeld_ = true;
      }
      return true;
    }
    case QEvent::MouseButtonRelease: {
      if (static_cast<const QMouseEvent&>(*event).button() == Qt::RightButton) return false;
      return replay_ || std::exchange(endingPressHeld_, false);
    }
    case QEvent::MouseMove: return replay_ != nullptr;
    case QEvent::TouchBegin:
      if (!replay_) return false;
      if (const auto& points = static_cast<const QTouchEvent&>(*event).points();
          !points.isEmpty() && endsOnPress(points.first().position())) {
        end();
        endingPressHeld_ = true;
      }
      return true;
    case QEvent::TouchUpdate: return replay_ || endingPressHeld_;
    case QEvent::TouchEnd:
    case QEvent::TouchCancel: return replay_ || std::exchange(endingPressHeld_, false);
    default: return false;
  }
}

}  // namespace wuffel
