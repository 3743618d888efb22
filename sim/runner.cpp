#include "sim/runner.h"

#include <memory>
#include <ostream>
#include <string>
#include <type_traits>

#include "sim/dump.h"
#include "sim/script.h"
#include "frontend/game_state.h"
#include "frontend/trace.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"

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

class Runner {
 public:
  Runner(std::ostream& out, GameRecorder::Finished recorded)
      : trace_(out, [this] { return handheld_ ? handheld_->now() : 0; }), recorded_(std::move(recorded)) {}

  RunEnd run(const Script& script) {
    for (const auto& c : script.events) {
      std::visit([&](const auto& command) { execute(command, script.setup); }, c);
      if (handheld_ && handheld_->messageLoop.quits > 0) endProgram();
      if (exited_) break;
    }
    // A game the script leaves running ends with it.
    if (recorder_) recorder_->programEnded();
    RunEnd end;
    end.expectations = expectations_;
    if (handheld_) {
      end.score = h().variables().Score;
      end.digest = gameStateDigest(h());
    }
    return end;
  }

 private:
  void execute(const command::Start&, const Setup& setup) {
    for (const auto& value : setup.store) store_.put(value.name, value.isText, value.text);
    store_.refusesWrites = setup.storeRefusesWrites;
    handheld_ = std::make_unique<VirtualHandheld>(setup.platform, store_,
                                                  Listeners{&trace_, &writer_, &writer_, &writer_, &writer_, &writer_});
    handheld_->questions.waits = setup.questionsWait;
    if (recorded_) {
      recorder_.emplace(h(), handheld_->scheduler,
                        GameRecorder::Origin{std::string(kRunnerRelease), std::string(kRunnerPlayedAt), handheld_->timeOfDay,
                                             environmentLines(setup)}, recorded_);
      h().observeInputs(&*recorder_);
    }
    // Start-up activates the main window before its activation handler
    // brings the splash window to the front.
    handheld_->windows.activate(WindowId::Form1);
    h().start();
  }
  void execute(const command::At& at, const Setup&) { advanceTo(std::max(handheld_->now(), at.time)); }
  void execute(const command::Wait& wait, const Setup&) { advanceTo(handheld_->now() + wait.ms); }
  void execute(const command::Press& press, const Setup&) {
    // A click on an inactive window activates it.
    if (!handheld_->windows.isActive(WindowId::Form1)) activateMainWindow();
    h().mousePress(press.x, press.y, press.button);
  }
  void execute(const command::Move& move, const Setup&) { h().mouseMove(move.x, move.y, move.held); }
  void execute(const command::Release& release, const Setup&) {
    h().mouseRelease(release.x, release.y, release.button);
  }
  // Keys go to the window that has the keyboard; the splash window and the
  // about dialog do nothing with them.
  void execute(const command::KeyDown& key, const Setup&) {
    if (handheld_->windows.isActive(WindowId::Form1)) h().keyDown(key.key);
  }
  void execute(const command::KeyUp& key, const Setup&) {
    if (handheld_->windows.isActive(WindowId::Form1)) h().keyUp(key.key);
  }
  void execute(const command::Menu& menu, const Setup&) { h().chooseMenuItem(menu.item); }
  void execute(const command::Splash& splash, const Setup&) {
    switch (splash.item) {
      case command::SplashItem::Puls_Play: return h().splashPlay();
      case command::SplashItem::La_Email: return h().splashEmail();
      case command::SplashItem::La_Http: return h().splashHttp();
    }
  }
  void execute(const command::Close& close, const Setup&) {
    if (close.window == WindowId::AboutForm) return h().closeAboutForm();
    endProgram();
  }
  void execute(const command::CloseSettingsForm&, const Setup&) { h().closeSettingsForm(); }
  void execute(const command::Activate&, const Setup&) { activateMainWindow(); }
  void execute(const command::Deactivate&, const Setup&) {
    handheld_->windows.deactivate(WindowId::Form1);
    h().deactivateMainWindow();
  }
  void execute(const command::Dump&, const Setup&) { writeDump(trace_, *handheld_, store_); }
  void execute(const command::Answer& answer, const Setup&) {
    if (!handheld_->questions.answerOpen(answer.yes)) handheld_->questions.answer = answer.yes;
  }
  void execute(const command::Control& c, const Setup&) {
    c.down ? h().controlDown(c.control, c.source) : h().controlUp(c.control, c.source);
  }
  void execute(const command::Setting& setting, const Setup&) { h().changeSetting(setting.setting, setting.value); }
  void execute(const command::SkipTicks& skip, const Setup&) { handheld_->scheduler.skipTo(skip.timerIndex, skip.next); }
  void execute(const command::ExpectScore& expect, const Setup&) { expectations_.score = expect.score; }
  void execute(const command::ExpectDigest& expect, const Setup&) { expectations_.digest = expect.digest; }

  Handheld& h() { return handheld_->handheld; }

  void activateMainWindow() {
    handheld_->windows.activate(WindowId::Form1);
    h().activateMainWindow();
  }

  void advanceTo(std::int64_t time) {
    handheld_->advanceTo(time, [this](int index) {
      PlatformWords(&trace_).tick(index);
      h().timerFired(index);
    });
  }

  // The message loop has ended: the main window is destroyed with its channels.
  void endProgram() {
    if (recorder_) recorder_->programEnded();
    handheld_->channels.closeAll();
    PlatformWords(&trace_).exit();
    exited_ = true;
  }

  Trace trace_;
  TraceWriter writer_{trace_};
  MemorySettings store_;
  std::unique_ptr<VirtualHandheld> handheld_;
  GameRecorder::Finished recorded_;
  std::optional<GameRecorder> recorder_;
  Expectations expectations_;
  bool exited_ = false;
};

}  // namespace

int runScript(std::istream& script, std::ostream& trace, std::ostream& errors, std::string_view name) {
  return runScript(script, trace, errors, name, {}).status;
}

RunResult runScript(std::istream& script, std::ostream& trace, std::ostream& errors, std::string_view name,
                    const GameRecorder::Finished& recorded) {
  const auto read = readScript(script);
  if (const auto* error = std::get_if<ScriptError>(&read)) {
    if (error->unreadable)
      errors << "wuffel-scenario: cannot read " << name
             << (error->line > 1 ? " at line " + std::to_string(error->line) : "") << ": " << error->message << '\n';
    else
      errors << "line " << error->line << ": " << error->message << '\n';
    return {2, {}};
  }
  return {0, Runner(trace, recorded).run(std::get<Script>(read))};
}

}  // namespace wuffel::sim
