// Reading the four-digit display back: which digit glyph each position's
// picture copies.
#pragma once

#include <optional>

#include "face/face.h"

namespace wuffel {

// The digit at `position` (0..3, left to right), or none for a blank position.
std::optional<int> digitShown(const Face& face, int position);

}  // namespace wuffel
