#pragma once

#include <QPainter>
#include <QRect>
#include <QString>

#include "app/crystal_fade.h"
#include "app/face_pictures.h"
#include "app/face_view.h"
#include "app/panel_look.h"
#include "face/face.h"
#include "frontend/sound_cues.h"

namespace wuffel {

// How the window program draws the face: where it lies and at what size,
// the panel's look, the case's edges, while segments fade how dark each one
// is at the moment drawn, and whether the game is paused.
struct FaceLook {
  FaceView view;
  PanelLook panel;
  CaseEdges edges = CaseEdges::Cut;
  const CrystalFade* fade = nullptr;  // null: segments switch at once
  CrystalFade::Clock::time_point now{};
  bool paused = false;
  SoundCue cue = SoundCue::None;  // the speaker grille's glow
  QString caseCaption;            // printed below the screen's frame, when not empty
};

// Draws every visible element that meets `area` (face units), in drawing
// order, with the pictures made for the painter's device pixel ratio at the
// view's scale.
void paintFace(QPainter& painter, const Face& face, const FacePictures& pictures, const QRect& area,
               const FaceLook& look = {});

// The face pixels an element's picture may cover at any scale: its place,
// the shadow a lit segment casts and a pixel of rounding.
QRect drawnArea(ElementId id);

// The whole face as an image of the given device pixel ratio, for tests and
// the documentation.
QImage renderFace(const Face& face, const FacePictures& pictures, qreal devicePixelRatio = 1,
                  const FaceLook& look = {});

}  // namespace wuffel
