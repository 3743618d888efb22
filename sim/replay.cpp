#include "sim/replay.h"

#include "frontend/recording_file.h"
#include "game/rules_digest.h"

namespace wuffel::sim {

std::variant<std::unique_ptr<Replay>, std::string> Replay::open(std::string_view text, FaceObserver* face,
                                                                SoundPorts sound) {
  const auto header = readRecordingHeader(text);
  if (!header) return std::string("This file is not a recording of a game.");
  if (header->rules != rulesDigest())
    return "This game was recorded by another version of the game, with other rules (" + header->rules +
           "), and cannot be watched in this one (" + rulesDigest() + ").";
  auto read = readScript(text);
  if (const auto* error = std::get_if<ScriptError>(&read))
    return "This recording cannot be read: line " + std::to_string(error->line) + ": " + error->message + ".";
  auto replay = std::make_unique<Replay>(std::move(std::get<Script>(read)), header->game, header->from, face, sound);
  // Up to the game's start at once: the splash window, the windows, the
  // clock before it.
  replay->ended_ = !replay->player_.playTo(header->from);
  if (!replay->player_.handheld()) return std::string("This recording has no game in it.");
  return replay;
}

Replay::Replay(Script script, char game, std::int64_t from, FaceObserver* face, SoundPorts sound)
    : script_(std::move(script)), player_(script_, nullptr, {}, face, sound), game_(game), from_(from) {}

Replay::~Replay() {
  if (player_.handheld()) player_.handheld()->channels.closeAll();
}

bool Replay::play(std::int64_t ms) {
  if (ended_ || ms <= 0) return !ended_;
  ended_ = !player_.playTo(player_.handheld()->now() + ms);
  return !ended_;
}

void Replay::pause() { player_.handheld()->channels.suspendAll(); }
void Replay::resume() { player_.handheld()->channels.resumeAll(); }

}  // namespace wuffel::sim
