#include "sim/script_player.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <type_traits>

#include "frontend/game_state.h"
#include "sim/dump.h"

namespace wuffel::sim {

namespace {

// The script's own setup of the platform, as a recording repeats it.
std::string environmentLines(const Setup& setup) {
  const PlatformSetup& p = setup.platform;
  std::string lines = "screen " + std::to_string(p.screenWidth) + " " + std::to_string(p.screenHeight) + "\n";
  if (!p.soundDir.empty()) lines += "sound-dir " + p.soundDir + "\n";
  for (const auto& file : p.soundMissing) lines += "sound-missing " + file + "\n";
  for (int c = 0; c < kChannelCount; ++c) {
    const auto id = static_cast<ChannelId>(c);
    const auto length = p.soundLengths.find(inCapitals(fileNameOf(channelFileName(id))));
    if (length != p.soundLengths.end())
      lines += "sound-length " + std::string(channelName(id)) + " " + std::to_string(length->second) + "\n";
  }
  if (setup.storeRefusesWrites) lines += "store-refuses-writes\n";
  return lines;
}

// Where an untraced run's trace goes.
std::ostream& nowhere() {
  static std::ostream stream(nullptr);
  return stream;
}

}  // namespace

ScriptPlayer::ScriptPlayer(const Script& script, std::ostream* out, GameRecorder::Finished recorded,
                           FaceObserver* face, SoundPorts sound)
    : script_(script),
      tracing_(out != nullptr),
      trace_(out ? *out : nowhere(), [this] { return handheld_ ? handheld_->now() : 0; }),
      face_(face),
      sound_(sound),
      recorded_(std::move(recorded)) {}

std::optional<std::int64_t> ScriptPlayer::timeAskedBy(const Command& c) const {
  if (const auto* at = std::get_if<command::At>(&c)) return std::max(handheld_->now(), at->time);
  if (const auto* wait = std::get_if<command::Wait>(&c)) return handheld_->now() + wait->ms;
  return std::nullopt;
}

bool ScriptPlayer::playTo(std::optional<std::int64_t> until) {
  while (next_ < script_.events.size() && !exited_) {
    const Command& c = script_.events[next_];
    if (handheld_ && !movingTo_) movingTo_ = timeAskedBy(c);
    if (movingTo_) {
      if (until && *until < *movingTo_) {
        if (*until > handheld_->now()) advanceTo(*until);
        return true;
      }
      advanceTo(*movingTo_);
      movingTo_.reset();
    } else {
      std::visit([&](const auto& command) { execute(command); }, c);
    }
    ++next_;
    if (handheld_ && handheld_->messageLoop.quits > 0) endProgram();
  }
  return false;
}

RunEnd ScriptPlayer::finish() {
  // A game the script leaves running ends with it.
  if (recorder_ && !finished_) recorder_->programEnded();
  finished_ = true;
  RunEnd end;
  end.expectations = expectations_;
  if (handheld_) {
    end.score = h().variables().Score;
    end.digest = gameStateDigest(h());
  }
  return end;
}

void ScriptPlayer::execute(const command::Start&) {
  const Setup& setup = script_.setup;
  for (const auto& value : setup.store) store_.put(value.name, value.isText, value.text);
  store_.refusesWrites = setup.storeRefusesWrites;
  const Listeners listeners =
      tracing_ ? Listeners{&trace_, &writer_, &writer_, &writer_, &writer_, &writer_} : Listeners{};
  handheld_ = std::make_unique<VirtualHandheld>(setup.platform, store_, listeners, sound_);
  if (face_) h().observeFace(face_);
  handheld_->questions.waits = setup.questionsWait;
  if (recorded_) {
    recorder_.emplace(h(), handheld_->scheduler,
                      GameRecorder::Origin{std::string(kRunnerRelease), std::string(kRunnerPlayedAt),
                                           handheld_->timeOfDay, environmentLines(setup)},
                      recorded_);
    h().observeInputs(&*recorder_);
  }
  // Start-up activates the main window before its activation handler
  // brings the splash window to the front.
  handheld_->windows.activate(WindowId::Form1);
  h().start();
}

void ScriptPlayer::execute(const command::Press& press) {
  // A click on an inactive window activates it.
  if (!handheld_->windows.isActive(WindowId::Form1)) activateMainWindow();
  h().mousePress(press.x, press.y, press.button);
}
void ScriptPlayer::execute(const command::Move& move) { h().mouseMove(move.x, move.y, move.held); }
void ScriptPlayer::execute(const command::Release& release) {
  h().mouseRelease(release.x, release.y, release.button);
}
// Keys go to the window that has the keyboard; the splash window and the
// about dialog do nothing with them.
void ScriptPlayer::execute(const command::KeyDown& key) {
  if (handheld_->windows.isActive(WindowId::Form1)) h().keyDown(key.key);
}
void ScriptPlayer::execute(const command::KeyUp& key) {
  if (handheld_->windows.isActive(WindowId::Form1)) h().keyUp(key.key);
}
void ScriptPlayer::execute(const command::Menu& menu) { h().chooseMenuItem(menu.item); }
void ScriptPlayer::execute(const command::Splash& splash) {
  switch (splash.item) {
    case command::SplashItem::Puls_Play: return h().splashPlay();
    case command::SplashItem::La_Email: return h().splashEmail();
    case command::SplashItem::La_Http: return h().splashHttp();
  }
}
void ScriptPlayer::execute(const command::Close& close) {
  if (close.window == WindowId::AboutForm) return h().closeAboutForm();
  endProgram();
}
void ScriptPlayer::execute(const command::CloseSettingsForm&) { h().closeSettingsForm(); }
void ScriptPlayer::execute(const command::Activate&) { activateMainWindow(); }
void ScriptPlayer::execute(const command::Deactivate&) {
  handheld_->windows.deactivate(WindowId::Form1);
  h().deactivateMainWindow();
}
void ScriptPlayer::execute(const command::Dump&) {
  if (tracing_) writeDump(trace_, *handheld_, store_);
}
void ScriptPlayer::execute(const command::Answer& answer) {
  if (!handheld_->questions.answerOpen(answer.yes)) handheld_->questions.answer = answer.yes;
}
void ScriptPlayer::execute(const command::Control& c) {
  c.down ? h().controlDown(c.control, c.source) : h().controlUp(c.control, c.source);
}
void ScriptPlayer::execute(const command::Setting& setting) { h().changeSetting(setting.setting, setting.value); }
void ScriptPlayer::execute(const command::SkipTicks& skip) { handheld_->scheduler.skipTo(skip.timerIndex, skip.next); }
void ScriptPlayer::execute(const command::ExpectScore& expect) { expectations_.score = expect.score; }
void ScriptPlayer::execute(const command::ExpectDigest& expect) { expectations_.digest = expect.digest; }

void ScriptPlayer::activateMainWindow() {
  handheld_->windows.activate(WindowId::Form1);
  h().activateMainWindow();
}

void ScriptPlayer::advanceTo(std::int64_t time) {
  handheld_->advanceTo(time, [this](int index) {
    if (tracing_) PlatformWords(&trace_).tick(index);
    h().timerFired(index);
  });
}

// The message loop has ended: the main window is destroyed with its channels.
void ScriptPlayer::endProgram() {
  if (recorder_) recorder_->programEnded();
  handheld_->channels.closeAll();
  PlatformWords(tracing_ ? &trace_ : nullptr).exit();
  exited_ = true;
}

}  // namespace wuffel::sim
