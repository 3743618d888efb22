// Watching recorded games on the page: the best games and the last one
// kept in localStorage, a file the player opens or drops, or a link's
// recording, played on the page's canvas at the real pace (or faster) with
// its sounds, while the handheld waits unseen and hears nothing.
#pragma once

#include <emscripten/html5.h>

#include <memory>
#include <string>

#include "frontend/watching.h"
#include "sim/replay.h"
#include "web/canvas_face.h"
#include "web/local_storage_settings.h"
#include "web/page_input.h"

namespace wuffel::web {

class PageWatching : public ReplayInput {
 public:
  // The menu's watching items go by these numbers, after the game's own.
  static constexpr int kFirstMenuCommand = 100;
  // The items, before the menu's last separator, with a separator of their own.
  static void addMenuItems();

  // `sounds` are the handheld's own, which the grille shows again after a replay.
  PageWatching(const Handheld& handheld, const SoundChannels& sounds, CanvasFace& canvas, KeyValueStorage& storage,
               sim::SoundPorts sound);
  ~PageWatching() override;
  PageWatching(const PageWatching&) = delete;
  PageWatching& operator=(const PageWatching&) = delete;

  void showMenuItemStates() const;
  // A menu command numbered from kFirstMenuCommand.
  void chooseMenuCommand(int command);
  void choose(WatchCommand command);
  bool canChoose(WatchCommand command) const;

  // Watches a recording's text; one that cannot be watched is said in the
  // page's error box.
  bool watch(const std::string& text);
  bool active() const override { return replay_ != nullptr; }
  void end();

  // A key: the watching keys, and every key while a replay shows, are taken.
  bool keyTaken(int type, const EmscriptenKeyboardEvent& event);
  // A press of the mouse or a finger while a replay shows: one on a game
  // button ends it. Its release is taken too.
  bool pressTaken(int x, int y) override;
  bool releaseTaken() override;

 private:
  static EM_BOOL frame(double now, void* self);
  void steer(ReplayKey key);

  const Handheld& handheld_;
  const SoundChannels& liveSounds_;
  CanvasFace& canvas_;
  KeyValueStorage& storage_;
  sim::SoundPorts sound_;
  std::unique_ptr<sim::Replay> replay_;
  ReplayPace pace_;
  double lastFrameAt_ = 0;
  long frameRequest_ = 0;  // the next frame's, while one is asked for
  bool endingPressHeld_ = false;  // its release goes nowhere
};

}  // namespace wuffel::web
