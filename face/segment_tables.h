// The segment tables: the face's segments grouped by role for the game.
// Lanes are 1..3 (1 at the top); track cells are numbered from 0.
#pragma once

#include <array>
#include <optional>

#include "face/elements.h"

namespace wuffel {

inline constexpr int kLanes = 3;
inline constexpr int kThrowCells = 9;
inline constexpr int kRallyCells = 6;

// Cells of lane L's throw track: 0 behind the player, 1 the racket cell,
// 1..8-L in flight, 9-L the launch cell above the thrower's hand.
inline constexpr int launchCell(int lane) { return 9 - lane; }
inline constexpr int firstFlightCell(int lane) { return 8 - lane; }
inline constexpr int kRacketThrowCell = 1;
inline constexpr int kRacketRallyCell = 4;
inline constexpr int kBehindRallyCell = 5;

enum class Pose { Body = 0, FrameA = 1, FrameB = 2, FrameC = 3 };

struct RallyCell {
  ElementId segment;
  bool outgoing = false;  // travels toward the opponent (toward cell 0)
  bool incoming = false;  // travels toward the player (toward cell 5)
};

struct SegmentTables {
  std::array<ElementId, 10> digitGlyphs{};
  std::array<ElementId, 4> scoreDigits{};                      // positions 1..4 at 0..3
  std::array<ElementId, 3> missMarks{};                        // entries 1..3 at 0..2
  std::array<std::array<std::optional<ElementId>, kThrowCells>, kLanes> throwTrack{};
  std::array<std::array<RallyCell, kRallyCells>, kLanes> rallyTrack{};
  std::array<std::array<ElementId, 4>, kLanes> playerPoses{};
  std::array<ElementId, 4> opponentParts{};                    // body, rackets of lanes 1..3
  std::array<int, kLanes> opponentSwing{};
  std::array<ElementId, 6> throwerImages{};                    // entries 1..6 at 0..5

  ElementId throwCell(int lane, int cell) const { return *throwTrack[lane - 1][cell]; }
  RallyCell& rally(int lane, int cell) { return rallyTrack[lane - 1][cell]; }
  const RallyCell& rally(int lane, int cell) const { return rallyTrack[lane - 1][cell]; }
  ElementId pose(int lane, Pose p) const { return playerPoses[lane - 1][static_cast<int>(p)]; }
  ElementId thrower(int entry) const { return throwerImages[entry - 1]; }
  ElementId racket(int lane) const { return opponentParts[lane]; }
  int& swing(int lane) { return opponentSwing[lane - 1]; }
  int swing(int lane) const { return opponentSwing[lane - 1]; }

  // Fills every table in the start-up order; the flags and swing steps are left as they are.
  void fill();
};

}  // namespace wuffel
