#include "face/digit_readout.h"

#include "face/segment_tables.h"

namespace wuffel {

std::optional<int> digitShown(const Face& face, int position) {
  const auto picture = face.picture(kSegmentTables.scoreDigits.at(static_cast<std::size_t>(position)));
  for (int digit = 0; digit < 10; ++digit)
    if (picture == kSegmentTables.digitGlyphs[static_cast<std::size_t>(digit)]) return digit;
  return std::nullopt;
}

}  // namespace wuffel
