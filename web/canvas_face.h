// Draws the face on the page's canvas: every visible element in drawing
// order, once per animation frame and only after something changed, so a
// still face costs nothing.
#pragma once

#include "face/face.h"
#include "frontend/sound_cues.h"
#include "web/page_sound_cues.h"

namespace wuffel::web {

class CanvasFace : public FaceObserver {
 public:
  // With the speaker grille's cues of the handheld's sounds.
  CanvasFace(Handheld& handheld, const SoundChannels& sound)
      : face_(&handheld.faceState()), cues_(handheld, sound, [this](SoundCue cue) { setCue(cue); }) {
    handheld.observeInputs(&cues_);
  }
  ~CanvasFace() override;
  CanvasFace(const CanvasFace&) = delete;
  CanvasFace& operator=(const CanvasFace&) = delete;

  void visibilityChanged(ElementId, bool) override { requestFrame(); }
  void pictureChanged(ElementId, std::optional<ElementId>) override { requestFrame(); }
  // After the canvas changed size or its pictures arrived.
  void requestFrame();
  // Draws another face, and the grille another's sounds, from now on (a replay's).
  void show(const Face& face, const SoundChannels& sounds) {
    face_ = &face;
    cues_.follow(sounds);
    requestFrame();
  }
  // The sounds may have changed without an event of the handheld's.
  void lookAtSounds() { cues_.look(); }
  void draw() const;
  // The speaker grille's glow for the sound playing now.
  void setCue(SoundCue cue) {
    if (cue == cue_) return;
    cue_ = cue;
    requestFrame();
  }

 private:
  const Face* face_;
  long frameRequest_ = 0;
  SoundCue cue_ = SoundCue::None;
  PageSoundCues cues_;
};

}  // namespace wuffel::web
