#include "web/canvas_face.h"

#include <emscripten/html5.h>

#include <vector>

#include "web/glue.h"

namespace wuffel::web {

namespace {

bool samePlace(const ElementInfo& a, const ElementInfo& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

const std::vector<std::vector<ElementId>>& earlierAtSamePlace() {
  static const auto table = [] {
    std::vector<std::vector<ElementId>> t(kElementCount);
    for (std::size_t i = 0; i < kElementCount; ++i)
      for (std::size_t j = 0; j < i; ++j)
        if (samePlace(kElements[i], kElements[j])) t[i].push_back(kElements[j].id);
    return t;
  }();
  return table;
}

}  // namespace

bool shownByAnEarlierElement(const Face& face, ElementId id, ElementId picture) {
  for (ElementId other : earlierAtSamePlace()[indexOf(id)])
    if (face.visible(other) && face.picture(other) == picture) return true;
  return false;
}

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
  wuffel_glue_beginFrame();
  for (const auto& e : kElements) {
    if (!face_.visible(e.id)) continue;
    const auto picture = face_.picture(e.id);
    if (!picture || shownByAnEarlierElement(face_, e.id, *picture)) continue;
    wuffel_glue_drawPicture(static_cast<int>(indexOf(*picture)), e.left, e.top,
                            e.kind == ElementKind::FacePhoto);
  }
  wuffel_glue_endFrame();
}

}  // namespace wuffel::web
