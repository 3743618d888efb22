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
// Cells of a lane's rally track: 0 at the opponent's racket, 4 the racket
// cell, 5 behind the player.
inline constexpr int kRacketRallyCell = 4;
inline constexpr int kBehindRallyCell = 5;

enum class Pose { Body = 0, FrameA = 1, FrameB = 2, FrameC = 3 };

struct SegmentTables {
  std::array<ElementId, 10> digitGlyphs;
  std::array<ElementId, 4> scoreDigits;  // positions 1..4 at 0..3
  std::array<ElementId, 3> missMarks;    // entries 1..3 at 0..2
  std::array<std::array<std::optional<ElementId>, kThrowCells>, kLanes> throwTrack;
  std::array<std::array<ElementId, kRallyCells>, kLanes> rallyTrack;
  std::array<std::array<ElementId, 4>, kLanes> playerPoses;
  std::array<ElementId, 4> opponentParts;  // body, rackets of lanes 1..3
  std::array<ElementId, 6> throwerImages;  // entries 1..6 at 0..5

  constexpr ElementId throwCell(int lane, int cell) const { return *throwTrack[lane - 1][cell]; }
  constexpr ElementId rallyCell(int lane, int cell) const { return rallyTrack[lane - 1][cell]; }
  constexpr ElementId pose(int lane, Pose p) const { return playerPoses[lane - 1][static_cast<int>(p)]; }
  constexpr ElementId thrower(int entry) const { return throwerImages[entry - 1]; }
  constexpr ElementId racket(int lane) const { return opponentParts[lane]; }
};

inline constexpr SegmentTables kSegmentTables = [] {
  using E = ElementId;
  SegmentTables t{};
  t.digitGlyphs = {E::Im_Num0, E::Im_Num1, E::Im_Num2, E::Im_Num3, E::Im_Num4,
                   E::Im_Num5, E::Im_Num6, E::Im_Num7, E::Im_Num8, E::Im_Num9};
  t.scoreDigits = {E::Im_NumPos1, E::Im_NumPos2, E::Im_NumPos3, E::Im_NumPos4};
  t.missMarks = {E::Im_Miss1, E::Im_Miss2, E::Im_Miss3};
  // Lane by lane from behind the player to the launch cell.
  t.throwTrack[0] = {E::Im_Ball10, E::Im_Ball11, E::Im_Ball12, E::Im_Ball13, E::Im_Ball14,
                     E::Im_Ball15, E::Im_Ball16, E::Im_Ball17, E::Im_Ball18};
  t.throwTrack[1] = {E::Im_Ball20, E::Im_Ball21, E::Im_Ball22, E::Im_Ball23,
                     E::Im_Ball24, E::Im_Ball25, E::Im_Ball26, E::Im_Ball27};
  t.throwTrack[2] = {E::Im_Ball30, E::Im_Ball31, E::Im_Ball32, E::Im_Ball33,
                     E::Im_Ball34, E::Im_Ball35, E::Im_Ball36};
  // From the opponent's racket to behind the player.
  t.rallyTrack = {{
      {E::Im_Ball61, E::Im_Ball62, E::Im_Ball63, E::Im_Ball64, E::Im_Ball65, E::Im_Ball66},
      {E::Im_Ball51, E::Im_Ball52, E::Im_Ball53, E::Im_Ball54, E::Im_Ball55, E::Im_Ball56},
      {E::Im_Ball41, E::Im_Ball42, E::Im_Ball43, E::Im_Ball44, E::Im_Ball45, E::Im_Ball46},
  }};
  t.playerPoses = {{
      {E::Im_Wuffel1, E::Im_Wuffel1A, E::Im_Wuffel1B, E::Im_Wuffel1C},
      {E::Im_Wuffel2, E::Im_Wuffel2A, E::Im_Wuffel2B, E::Im_Wuffel2C},
      {E::Im_Wuffel3, E::Im_Wuffel3A, E::Im_Wuffel3B, E::Im_Wuffel3C},
  }};
  t.opponentParts = {E::Im_Brunna, E::Im_BrunnaBr1, E::Im_BrunnaBr2, E::Im_BrunnaBr3};
  t.throwerImages = {E::Im_Tobbel1, E::Im_Tobbel2, E::Im_Tobbel3, E::Im_Tobbel4, E::Im_Tobbel5, E::Im_Tobbel6};
  return t;
}();

}  // namespace wuffel
