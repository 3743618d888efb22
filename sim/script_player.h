// Plays a read script on the handheld on virtual time: the runner plays it
// whole at once; a front end watching a recording plays it bit by bit, on
// its own face and sound device.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>

#include "frontend/game_recorder.h"
#include "frontend/trace.h"
#include "sim/runner.h"
#include "sim/script.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"

namespace wuffel::sim {

class ScriptPlayer {
 public:
  // The trace goes to `out`, or nowhere without one; `recorded` hears of
  // each game's recording; `face` and `sound` show and sound the handheld.
  ScriptPlayer(const Script& script, std::ostream* out, GameRecorder::Finished recorded = {},
               FaceObserver* face = nullptr, SoundPorts sound = {});
  ScriptPlayer(const ScriptPlayer&) = delete;
  ScriptPlayer& operator=(const ScriptPlayer&) = delete;

  // Runs the commands in order until virtual time would pass `until` (the
  // time then stands at `until`), or to the script's end without one.
  // False once the script has ended.
  bool playTo(std::optional<std::int64_t> until = std::nullopt);
  // Ends the run (a game left running ends with it) and says how it ended.
  RunEnd finish();

  // None before the script's `start`.
  VirtualHandheld* handheld() { return handheld_.get(); }
  const VirtualHandheld* handheld() const { return handheld_.get(); }

 private:
  void execute(const command::Start&);
  void execute(const command::At&) {}
  void execute(const command::Wait&) {}
  void execute(const command::Press& press);
  void execute(const command::Move& move);
  void execute(const command::Release& release);
  void execute(const command::KeyDown& key);
  void execute(const command::KeyUp& key);
  void execute(const command::Menu& menu);
  void execute(const command::Splash& splash);
  void execute(const command::Close& close);
  void execute(const command::CloseSettingsForm&);
  void execute(const command::Activate&);
  void execute(const command::Deactivate&);
  void execute(const command::Dump&);
  void execute(const command::Answer& answer);
  void execute(const command::Control& c);
  void execute(const command::Setting& setting);
  void execute(const command::SkipTicks& skip);
  void execute(const command::ExpectScore& expect);
  void execute(const command::ExpectDigest& expect);

  Handheld& h() { return handheld_->handheld; }
  // The time an `at` or `wait` moves to, from where the time stands.
  std::optional<std::int64_t> timeAskedBy(const Command& c) const;
  void activateMainWindow();
  void advanceTo(std::int64_t time);
  void endProgram();

  const Script& script_;
  std::size_t next_ = 0;
  // Where the `at` or `wait` being played moves the time to.
  std::optional<std::int64_t> movingTo_;
  bool tracing_;
  Trace trace_;
  TraceWriter writer_{trace_};
  FaceObserver* face_;
  SoundPorts sound_;
  MemorySettings store_;
  std::unique_ptr<VirtualHandheld> handheld_;
  GameRecorder::Finished recorded_;
  std::optional<GameRecorder> recorder_;
  Expectations expectations_;
  bool exited_ = false;
  bool finished_ = false;
};

}  // namespace wuffel::sim
