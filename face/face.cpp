#include "face/face.h"

namespace wuffel {

Face::Face() {
  for (const auto& e : kElements) {
    state_[indexOf(e.id)] = {e.visibleAtStart(),
                             e.picture == PictureOrigin::Own ? std::optional(e.id) : std::nullopt};
  }
}

void Face::setVisible(ElementId id, bool visible) {
  auto& s = state_[indexOf(id)];
  if (s.visible == visible) return;
  s.visible = visible;
  for (auto* o : observers_) o->visibilityChanged(id, visible);
}

void Face::copyPicture(ElementId target, ElementId source) { setPicture(target, picture(source)); }

void Face::clearPicture(ElementId target) { setPicture(target, std::nullopt); }

void Face::setPicture(ElementId target, std::optional<ElementId> picture) {
  auto& s = state_[indexOf(target)];
  if (s.picture == picture) return;
  s.picture = picture;
  for (auto* o : observers_) o->pictureChanged(target, picture);
}

std::optional<ElementId> Face::elementAt(int x, int y) const {
  for (auto it = kElements.rbegin(); it != kElements.rend(); ++it)
    if (state_[indexOf(it->id)].visible && it->contains(x, y)) return it->id;
  return std::nullopt;
}

}  // namespace wuffel
