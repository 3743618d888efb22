// The speaker grille's glow while a sound plays (frontend/sound_cues.h),
// drawn over the case photograph.
#pragma once

#include <QPainter>
#include <QRect>

#include "app/face_view.h"
#include "frontend/sound_cues.h"

namespace wuffel {

// The face units the glow may cover.
QRect grilleArea();
void paintGrilleGlow(QPainter& painter, SoundCue cue, const FaceView& view);

}  // namespace wuffel
