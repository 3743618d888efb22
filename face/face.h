// The state of the face: each element's visible flag and picture. Pictures
// are referred to by the element that owns their pixels; only the window
// program holds pixels.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "face/elements.h"

namespace wuffel {

class FaceObserver {
 public:
  virtual ~FaceObserver() = default;
  virtual void visibilityChanged(ElementId, bool visible) = 0;
  virtual void pictureChanged(ElementId, std::optional<ElementId> source) = 0;
};

class Face {
 public:
  Face();

  void addObserver(FaceObserver* observer) { observers_.push_back(observer); }

  bool visible(ElementId id) const { return state_[indexOf(id)].visible; }
  void setVisible(ElementId id, bool visible);
  void show(ElementId id) { setVisible(id, true); }
  void hide(ElementId id) { setVisible(id, false); }

  // The element whose own picture this element shows, or none.
  std::optional<ElementId> picture(ElementId id) const { return state_[indexOf(id)].picture; }
  // Gives `target` a copy of `source`'s picture, as it is now.
  void copyPicture(ElementId target, ElementId source);
  void clearPicture(ElementId target);

  // The topmost visible element under a client point.
  std::optional<ElementId> elementAt(int x, int y) const;

 private:
  void setPicture(ElementId target, std::optional<ElementId> picture);

  struct State {
    bool visible;
    std::optional<ElementId> picture;
  };
  std::array<State, kElementCount> state_;
  std::vector<FaceObserver*> observers_;
};

}  // namespace wuffel
