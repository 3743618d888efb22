// Watching a recorded game: its recording played from the game's start at
// the pace a front end sets, on that front end's face and sound device.
// The run before the game is played at once, unseen; nothing it does
// reaches a store or a window of the program's.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "sim/script.h"
#include "sim/script_player.h"

namespace wuffel::sim {

class Replay {
 public:
  // The recording's game, ready at its start; or why it cannot be
  // watched, in words for the player.
  static std::variant<std::unique_ptr<Replay>, std::string> open(std::string_view text, FaceObserver* face,
                                                                  SoundPorts sound = {});

  // Plays `ms` more of the game; false once the recording has ended, when
  // its last face stays.
  bool play(std::int64_t ms);
  bool ended() const { return ended_; }
  // Holds the sounds where they are, and lets them go on.
  void pause();
  void resume();

  char game() const { return game_; }
  const Handheld& handheld() const { return player_.handheld()->handheld; }
  const SoundChannels& channels() const { return player_.handheld()->channels; }
  std::int64_t gameTime() const { return player_.handheld()->now() - from_; }

  Replay(Script script, char game, std::int64_t from, FaceObserver* face, SoundPorts sound);
  // Its sounds end with it.
  ~Replay();
  Replay(const Replay&) = delete;
  Replay& operator=(const Replay&) = delete;

 private:
  Script script_;
  ScriptPlayer player_;
  char game_;
  std::int64_t from_;
  bool ended_ = false;
};

}  // namespace wuffel::sim
