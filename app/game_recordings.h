// Where the window program keeps the recordings of its games: one file a
// game in the games folder, the last 50 of them, and the recordings of the
// games that set the best scores. Each is written when its game ends, whole
// or not at all; a folder that cannot be written is said once, on standard
// error, and the files there stay as they were.
#pragma once

#include <QString>

#include <optional>
#include <string>

#include "frontend/game_recorder.h"

namespace wuffel {

class WindowSystem;

class GameRecordings {
 public:
  static constexpr int kKeptGames = 50;

  GameRecordings(Handheld& handheld, TimelineScheduler& timeline, const TimelineTimeOfDay& clocks,
                 const WindowSystem& windows);
  ~GameRecordings();
  GameRecordings(const GameRecordings&) = delete;
  GameRecordings& operator=(const GameRecordings&) = delete;

  // $XDG_DATA_HOME/wuffel-tennis/games, or ~/.local/share/wuffel-tennis/games.
  static QString folder();
  // Writes a finished game's recording into `dir`; false when it could not.
  static bool keep(const QString& dir, const Recording& recording, const QString& fileName);
  // The file of the game that set the best score of Game `letter`.
  static QString bestGamePath(char letter);

  // The last game played: this run's, else the newest one kept; and the
  // name its file was given. None when no game was ever kept.
  struct Kept {
    std::string text;
    QString name;
  };
  std::optional<Kept> lastGame() const;

 private:
  void finished(const Recording& recording);

  const TimelineScheduler& timeline_;
  std::optional<Kept> last_;
  std::optional<GameRecorder> recorder_;
  bool refusalSaid_ = false;
};

}  // namespace wuffel
