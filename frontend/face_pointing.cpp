#include "frontend/face_pointing.h"

namespace wuffel {

const ButtonHint* hintAt(const Face& face, int x, int y) {
  const auto id = face.elementAt(x, y);
  if (!id) return nullptr;
  for (const auto& hint : kButtonHints)
    if (hint.id == *id) return &hint;
  return nullptr;
}

}  // namespace wuffel
