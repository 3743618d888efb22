// What the pointer over the face shows: the hint and the pointer's shape of
// the button under it, as the case's buttons explain themselves.
#pragma once

#include "face/elements.h"
#include "face/face.h"

namespace wuffel {

// The hint of the button at face point (x, y), or nullptr where there is none.
const ButtonHint* hintAt(const Face& face, int x, int y);

}  // namespace wuffel
