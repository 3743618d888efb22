#include "face/segment_tables.h"

namespace wuffel {

namespace {

constexpr bool samePlace(ElementId a, ElementId b) {
  return elementInfo(a).left == elementInfo(b).left && elementInfo(a).top == elementInfo(b).top;
}

// Each lane's two tracks share two places on the face: the racket cell and
// the cell behind the player.
constexpr bool tracksMeet() {
  const auto& t = kSegmentTables;
  for (int lane = 1; lane <= kLanes; ++lane)
    if (!samePlace(t.throwCell(lane, kRacketThrowCell), t.rallyCell(lane, kRacketRallyCell)) ||
        !samePlace(t.throwCell(lane, 0), t.rallyCell(lane, kBehindRallyCell)))
      return false;
  return true;
}
static_assert(tracksMeet());

// A lane's throw track ends at its launch cell.
constexpr bool throwTracksEndAtTheLaunchCell() {
  const auto& t = kSegmentTables;
  for (int lane = 1; lane <= kLanes; ++lane)
    for (int c = 0; c < kThrowCells; ++c)
      if (t.throwTrack[lane - 1][c].has_value() != (c <= launchCell(lane))) return false;
  return true;
}
static_assert(throwTracksEndAtTheLaunchCell());

}  // namespace

}  // namespace wuffel
