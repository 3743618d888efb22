// The players' settings on the page. The settings panel shows them as the
// core holds them and changes them through the core, which applies and
// stores them; the page hears back of every change (the panel's controls,
// the note that one could not be stored) and of the pause (the title). The
// page shows the settings it has controls for and passes over the others. A
// setting the browser would not store holds for the visit, also after
// "Exit" starts the program again.
#pragma once

#include <map>
#include <string_view>

#include "game/handheld.h"

namespace wuffel::web {

class PageSettings : public PlayerEvents {
 public:
  // `trace` hears every event too, when the page traces.
  explicit PageSettings(PlayerEvents* trace) : trace_(trace) {}

  // Tells the page what each setting can hold, for the panel's controls,
  // and which of the case's buttons it offers as controls.
  static void describe();
  // A new run of the program, which has read the settings from the store.
  void attach(Handheld& handheld);
  void detach() { handheld_ = nullptr; }
  // A change the panel asks for: the setting's name and its text as stored.
  // A name or text the core does not know changes nothing.
  void change(std::string_view name, std::string_view text);

  void pauseChanged(bool paused) override;
  void settingChanged(Setting setting, int value, bool saved) override;
  void settingsRequested() override;
  void aidedBestShown(bool shown) override;

 private:
  void show(Setting setting) const;

  PlayerEvents* trace_;
  Handheld* handheld_ = nullptr;
  std::map<Setting, int> unsaved_;
};

}  // namespace wuffel::web
