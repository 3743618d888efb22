// Draws the face on the page's canvas: every visible element in drawing
// order, once per animation frame and only after something changed, so a
// still face costs nothing.
#pragma once

#include "face/face.h"

namespace wuffel::web {

class CanvasFace : public FaceObserver {
 public:
  explicit CanvasFace(const Face& face) : face_(&face) {}
  ~CanvasFace() override;
  CanvasFace(const CanvasFace&) = delete;
  CanvasFace& operator=(const CanvasFace&) = delete;

  void visibilityChanged(ElementId, bool) override { requestFrame(); }
  void pictureChanged(ElementId, std::optional<ElementId>) override { requestFrame(); }
  // After the canvas changed size or its pictures arrived.
  void requestFrame();
  // Draws another face from now on (a replay's).
  void show(const Face& face) {
    face_ = &face;
    requestFrame();
  }
  void draw() const;

 private:
  const Face* face_;
  long frameRequest_ = 0;
};

}  // namespace wuffel::web
