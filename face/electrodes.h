// Segments at one place show one picture (the ball cells the two tracks
// share): on the panel they are one electrode, lit while any of them is. An
// electrode is named by the first of its segments in drawing order. Every
// front end draws an electrode once, by these.
#pragma once

#include <optional>
#include <span>

#include "face/face.h"

namespace wuffel {

ElementId electrodeOf(ElementId segment);
// The segments of `segment`'s electrode, in drawing order.
std::span<const ElementId> electrodeMembers(ElementId segment);
// The first visible segment of the electrode that has a picture.
std::optional<ElementId> litMember(const Face& face, ElementId electrode);

}  // namespace wuffel
