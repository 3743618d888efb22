#include "web/page_watching.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <string_view>

#include "frontend/face_pointing.h"
#include "frontend/recording_file.h"
#include "game/handheld.h"
#include "web/glue.h"
#include "web/page_recordings.h"

namespace wuffel::web {

namespace {
// A browser's key as the watching tables name it: "F6", "Ctrl+S", "Space".
std::string keyName(const EmscriptenKeyboardEvent& event) {
  const std::string_view key = event.key;
  std::string name;
  if (key == " ") name = "Space";
  else if (key == "ArrowRight") name = "Right";
  else if (key == "ArrowLeft") name = "Left";
  else if (key == "Escape") name = "Esc";
  else if (key.size() == 1) name = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(key[0]))));
  else name = std::string(key);
  return event.ctrlKey ? "Ctrl+" + name : name;
}

std::optional<std::string> kept(const KeyValueStorage& storage, WatchCommand command) {
  switch (command) {
    case WatchCommand::BestGameA: return storage.get(std::string(kBestGameKeyPrefix) + 'A');
    case WatchCommand::BestGameB: return storage.get(std::string(kBestGameKeyPrefix) + 'B');
    case WatchCommand::LastGame:
    case WatchCommand::SaveLastGame: return storage.get(kLastGameKey);
    case WatchCommand::OpenRecording: return std::nullopt;
  }
  return std::nullopt;
}
}  // namespace

void PageWatching::addMenuItems() {
  wuffel_glue_addMenuItem("-", "", -1, 0);
  for (std::size_t i = 0; i < kWatchMenu.size(); ++i)
    wuffel_glue_addMenuItem(std::string(kWatchMenu[i].caption).c_str(), std::string(kWatchMenu[i].key).c_str(),
                            kFirstMenuCommand + static_cast<int>(i), 0);
}

PageWatching::PageWatching(const Handheld& handheld, const SoundChannels& sounds, CanvasFace& canvas,
                           KeyValueStorage& storage, sim::SoundPorts sound)
    : handheld_(handheld), liveSounds_(sounds), canvas_(canvas), storage_(storage), sound_(sound) {}

// The program may end while a replay shows: its next frame must not come.
PageWatching::~PageWatching() {
  if (frameRequest_) emscripten_cancel_animation_frame(frameRequest_);
  end();
}

void PageWatching::showMenuItemStates() const {
  for (std::size_t i = 0; i < kWatchMenu.size(); ++i)
    wuffel_glue_showMenuItem(kFirstMenuCommand + static_cast<int>(i), std::string(kWatchMenu[i].caption).c_str(),
                             std::string(kWatchMenu[i].key).c_str(), canChoose(kWatchMenu[i].command));
}

void PageWatching::chooseMenuCommand(int command) {
  const int index = command - kFirstMenuCommand;
  if (index >= 0 && index < static_cast<int>(kWatchMenu.size())) choose(kWatchMenu[static_cast<std::size_t>(index)].command);
}

bool PageWatching::canChoose(WatchCommand command) const {
  if (handheld_.variables().GameRunning || handheld_.paused()) return false;
  return command == WatchCommand::OpenRecording || kept(storage_, command).has_value();
}

void PageWatching::choose(WatchCommand command) {
  if (!canChoose(command)) return;
  if (command == WatchCommand::OpenRecording) return wuffel_glue_openRecording();
  const std::string text = *kept(storage_, command);
  if (command != WatchCommand::SaveLastGame) {
    watch(text);
    return;
  }
  const auto header = readRecordingHeader(text);
  const std::string name = "last-game-" + std::string(1, header ? header->game : 'A') + std::string(kRecordingExtension);
  wuffel_glue_download(name.c_str(), text.c_str());
}

bool PageWatching::watch(const std::string& text) {
  end();
  if (handheld_.variables().GameRunning || handheld_.paused()) return false;
  auto opened = sim::Replay::open(text, &canvas_, sound_);
  if (auto* why = std::get_if<std::string>(&opened)) {
    wuffel_glue_showError(std::string(kApplicationTitle).c_str(), why->c_str());
    return false;
  }
  replay_ = std::move(std::get<std::unique_ptr<sim::Replay>>(opened));
  pace_ = {};
  canvas_.show(replay_->handheld().faceState(), replay_->channels());
  wuffel_glue_setReplay(std::string(kReplayTitleSuffix).c_str());
  lastFrameAt_ = emscripten_get_now();
  if (!frameRequest_) frameRequest_ = emscripten_request_animation_frame(&PageWatching::frame, this);
  return true;
}

void PageWatching::end() {
  if (!replay_) return;
  canvas_.show(handheld_.faceState(), liveSounds_);
  replay_.reset();
  wuffel_glue_setReplay("");
}

// Animation frames stop while the page is hidden: so does the replay.
EM_BOOL PageWatching::frame(double now, void* self) {
  auto* watching = static_cast<PageWatching*>(self);
  watching->frameRequest_ = 0;
  if (!watching->replay_ || watching->replay_->ended()) return EM_FALSE;
  // A frame long after the last one (the page was hidden) plays one frame's worth.
  const double elapsed = std::min(now - watching->lastFrameAt_, 100.0);
  watching->lastFrameAt_ = now;
  watching->replay_->play(watching->pace_.gameMsOf(static_cast<std::int64_t>(elapsed + 0.5)));
  watching->canvas_.lookAtSounds();
  watching->frameRequest_ = emscripten_request_animation_frame(&PageWatching::frame, self);
  return EM_FALSE;
}

void PageWatching::steer(ReplayKey key) {
  if (key == ReplayKey::End) return end();
  const bool wasPaused = pace_.paused();
  pace_.apply(key);
  if (pace_.paused() != wasPaused) pace_.paused() ? replay_->pause() : replay_->resume();
}

bool PageWatching::keyTaken(int type, const EmscriptenKeyboardEvent& event) {
  const std::string name = keyName(event);
  if (const auto command = watchCommandForKey(name)) {
    if (type == EMSCRIPTEN_EVENT_KEYDOWN && !event.repeat) choose(*command);
    return true;
  }
  if (!replay_) return false;
  if (const auto key = replayKeyFor(name); key && type == EMSCRIPTEN_EVENT_KEYDOWN && !event.repeat) steer(*key);
  return true;
}

bool PageWatching::pressTaken(int x, int y) {
  if (!replay_) return false;
  if (hintAt(handheld_.faceState(), x, y)) {
    end();
    endingPressHeld_ = true;
  }
  return true;
}

bool PageWatching::releaseTaken() { return replay_ || std::exchange(endingPressHeld_, false); }

}  // namespace wuffel::web
