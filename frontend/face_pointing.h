// What the pointer over the face shows: the hint and the pointer's shape of
// the button under it, as the case's buttons explain themselves; and which
// button a finger means, where the buttons are small for fingers.
#pragma once

#include <optional>
#include <utility>

#include "face/elements.h"
#include "face/face.h"

namespace wuffel {

// The hint of the button at face point (x, y), or nullptr where there is none.
const ButtonHint* hintAt(const Face& face, int x, int y);

// The case's button a finger at face point (x, y) is meant for: the one
// under it, or else, on the case's photograph, the nearest one whose touch
// area (its place grown about its middle to at least `side` face pixels
// each way) holds the point. The buttons themselves do not move.
std::optional<ElementId> buttonForTouch(const Face& face, int x, int y, int side);

// The middle of an element's place, in face pixels.
std::pair<int, int> middleOf(ElementId id);

}  // namespace wuffel
