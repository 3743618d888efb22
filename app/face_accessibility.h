// The handheld as assistive technology (AT-SPI on Linux) sees it: the main
// window a group named after the game whose value is the score, holding the
// case's buttons as named buttons that press as a click does, and a status
// line that says each sentence of the game's announcer.
#pragma once

#include <QString>

#include <cstdint>
#include <string>

#include "game/game_events.h"

namespace wuffel {

class TForm1;

class FaceAccessibility : public GameEvents {
 public:
  // Assistive technology asking about `form` from now on gets this view of it.
  explicit FaceAccessibility(TForm1& form);
  ~FaceAccessibility() override;
  FaceAccessibility(const FaceAccessibility&) = delete;
  FaceAccessibility& operator=(const FaceAccessibility&) = delete;

  // The announcer's voice: the status line takes the sentence and says so.
  void announce(const std::string& sentence);
  const QString& lastAnnouncement() const { return announcement_; }

  // The score's value changed.
  void scored(std::int32_t score) override;

 private:
  TForm1& form_;
  QString announcement_;
};

}  // namespace wuffel
