#include "frontend/face_pointing.h"

#include <algorithm>
#include <cstdlib>

namespace wuffel {

namespace {

bool isButton(const ElementInfo& e) { return e.kind == ElementKind::ButtonPicture || e.kind == ElementKind::ButtonArea; }

}  // namespace

const ButtonHint* hintAt(const Face& face, int x, int y) {
  const auto id = face.elementAt(x, y);
  if (!id) return nullptr;
  for (const auto& hint : kButtonHints)
    if (hint.id == *id) return &hint;
  return nullptr;
}

std::optional<ElementId> buttonForTouch(const Face& face, int x, int y, int side) {
  const auto under = face.elementAt(x, y);
  if (under && isButton(elementInfo(*under))) return under;
  if (under && elementInfo(*under).kind != ElementKind::FacePhoto) return std::nullopt;
  // In half face pixels, from the middle of the touched pixel to a button's.
  std::optional<ElementId> nearest;
  long nearestDistance = 0;
  for (const auto& e : kElements) {
    if (!isButton(e)) continue;
    const int dx = std::abs(2 * x + 1 - (2 * e.left + e.width));
    const int dy = std::abs(2 * y + 1 - (2 * e.top + e.height));
    if (dx > std::max(e.width, side) || dy > std::max(e.height, side)) continue;
    const long distance = long{dx} * dx + long{dy} * dy;
    if (!nearest || distance < nearestDistance) {
      nearest = e.id;
      nearestDistance = distance;
    }
  }
  return nearest;
}

std::pair<int, int> middleOf(ElementId id) {
  const auto& e = elementInfo(id);
  return {e.left + e.width / 2, e.top + e.height / 2};
}

}  // namespace wuffel
