#include "app/game_recordings.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstdio>

#include "frontend/recording_file.h"
#include "platform/ports.h"

namespace wuffel {

namespace {

bool writeWhole(const QString& path, const std::string& text) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(text.data(), static_cast<qint64>(text.size()));
  return file.commit();
}

// The games' files, oldest first: "YYYYMMDD-HHMMSS-A.wuffel", perhaps with
// "-2" and so on after the game.
QStringList gamesIn(const QDir& folder) {
  static const QString pattern = QStringLiteral("[0-9]").repeated(8) + '-' + QStringLiteral("[0-9]").repeated(6) +
                                 QStringLiteral("-?*.wuffel");
  return folder.entryList({pattern}, QDir::Files, QDir::Name);
}

// Only the newest games' files stay; the best games' are not counted.
void pruneOldGames(const QString& dir) {
  QDir folder(dir);
  const QStringList games = gamesIn(folder);
  for (qsizetype i = 0; i + GameRecordings::kKeptGames < games.size(); ++i) folder.remove(games[i]);
}

}  // namespace

GameRecordings::GameRecordings(Handheld& handheld, TimelineScheduler& timeline,
                               const TimelineTimeOfDay& clocks, const WindowSystem& windows)
    : timeline_(timeline) {
  const std::string started = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
  const std::string screen =
      "screen " + std::to_string(windows.screenWidth()) + " " + std::to_string(windows.screenHeight()) + "\n";
  recorder_.emplace(handheld, timeline, GameRecorder::Origin{WUFFEL_RELEASE, started, clocks, screen},
                    [this](const Recording& r) { finished(r); });
  handheld.observeInputs(&*recorder_);
}

// The window closed or the program quit: a game still running ends here.
GameRecordings::~GameRecordings() { recorder_->programEnded(); }

QString GameRecordings::folder() {
  // Only an absolute XDG_DATA_HOME counts, as the base directory rules say.
  const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  const QString base =
      QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QStringLiteral("/.local/share");
  return base + QStringLiteral("/wuffel-tennis/games");
}

bool GameRecordings::keep(const QString& dir, const Recording& r, const QString& fileName) {
  if (!QDir().mkpath(dir)) return false;
  QString path = dir + '/' + fileName;
  for (int n = 2; QFileInfo::exists(path); ++n)
    path = dir + '/' + QString::fromStdString(numberedFileName(fileName.toStdString(), n));
  if (!writeWhole(path, r.text)) return false;
  pruneOldGames(dir);
  return !r.newBest || writeWhole(dir + '/' + QString::fromStdString(bestRecordingFileName(r.letter())), r.text);
}

QString GameRecordings::bestGamePath(char letter) {
  return folder() + '/' + QString::fromStdString(bestRecordingFileName(letter));
}

std::optional<GameRecordings::Kept> GameRecordings::lastGame() const {
  if (last_) return last_;
  const QDir dir(folder());
  const QStringList games = gamesIn(dir);
  if (games.isEmpty()) return std::nullopt;
  QFile file(dir.filePath(games.last()));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray text = file.read(kLongestRecordingBytes);
  return Kept{text.toStdString(), games.last()};
}

void GameRecordings::finished(const Recording& r) {
  // The local date and time of the game's start.
  const QDateTime started = QDateTime::currentDateTime().addMSecs(r.startedAt - timeline_.now());
  const QDate day = started.date();
  const QString name = QString::fromStdString(
      recordingFileName(day.year(), day.month(), day.day(), started.time().msecsSinceStartOfDay(), r.letter()));
  last_ = Kept{r.text, name};
  if (keep(folder(), r, name) || refusalSaid_) return;
  refusalSaid_ = true;
  std::fprintf(stderr, "wuffel-tennis: the game's recording cannot be kept in %s\n", qPrintable(folder()));
}

}  // namespace wuffel
