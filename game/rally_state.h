// What play keeps on the rally track: each cell's flags, and the step of the
// opponent's swing in each lane. Lanes and cells are numbered as the rally
// track's segments.
#pragma once

#include <array>

#include "face/segment_tables.h"

namespace wuffel {

// A rally cell is lit exactly when one of its flags is set, after each step
// of its lane.
struct RallyFlags {
  bool outgoing = false;  // travels toward the opponent (toward cell 0)
  bool incoming = false;  // travels toward the player (toward cell 5)
};

class RallyState {
 public:
  RallyFlags& cell(int lane, int c) { return cells_[lane - 1][c]; }
  const RallyFlags& cell(int lane, int c) const { return cells_[lane - 1][c]; }
  // 0 while the opponent does not swing in that lane, then steps 1..5.
  int& swing(int lane) { return swing_[lane - 1]; }
  int swing(int lane) const { return swing_[lane - 1]; }

 private:
  std::array<std::array<RallyFlags, kRallyCells>, kLanes> cells_{};
  std::array<int, kLanes> swing_{};
};

}  // namespace wuffel
