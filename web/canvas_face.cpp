#include "web/canvas_face.h"

#include <emscripten/html5.h>

#include "face/electrodes.h"
#include "web/glue.h"

namespace wuffel::web {

CanvasFace::~CanvasFace() {
  if (frameRequest_) emscripten_cancel_animation_frame(frameRequest_);
}

void CanvasFace::requestFrame() {
  if (frameRequest_) return;
  frameRequest_ = emscripten_request_animation_frame(
      [](double, void* self) -> EM_BOOL {
        auto* canvas = static_cast<CanvasFace*>(self);
        canvas->frameRequest_ = 0;
        canvas->draw();
        return EM_FALSE;
      },
      this);
}

void CanvasFace::draw() const {
  const Face& face = *face_;
  wuffel_glue_beginFrame();
  for (const auto& e : kElements) {
    if (!face.visible(e.id)) continue;
    const auto picture = face.picture(e.id);
    if (!picture) continue;
    // An electrode is drawn once, at its first lit segment.
    if (e.kind == ElementKind::Segment && litMember(face, electrodeOf(e.id)) != e.id) continue;
    wuffel_glue_drawPicture(static_cast<int>(indexOf(*picture)), e.left, e.top,
                            e.kind == ElementKind::FacePhoto);
  }
  wuffel_glue_endFrame();
}

}  // namespace wuffel::web
