#include "face/segment_tables.h"

namespace wuffel {

namespace {

using E = ElementId;

constexpr std::array<E, 10> kDigitGlyphs{E::Im_Num0, E::Im_Num1, E::Im_Num2, E::Im_Num3, E::Im_Num4,
                                         E::Im_Num5, E::Im_Num6, E::Im_Num7, E::Im_Num8, E::Im_Num9};
constexpr std::array<E, 4> kScoreDigits{E::Im_NumPos1, E::Im_NumPos2, E::Im_NumPos3, E::Im_NumPos4};
constexpr std::array<E, 3> kMissMarks{E::Im_Miss1, E::Im_Miss2, E::Im_Miss3};
constexpr std::array<std::array<E, 4>, kLanes> kPlayerPoses{{
    {E::Im_Wuffel1, E::Im_Wuffel1A, E::Im_Wuffel1B, E::Im_Wuffel1C},
    {E::Im_Wuffel2, E::Im_Wuffel2A, E::Im_Wuffel2B, E::Im_Wuffel2C},
    {E::Im_Wuffel3, E::Im_Wuffel3A, E::Im_Wuffel3B, E::Im_Wuffel3C},
}};
constexpr std::array<E, 6> kThrowerImages{E::Im_Tobbel1, E::Im_Tobbel2, E::Im_Tobbel3,
                                          E::Im_Tobbel4, E::Im_Tobbel5, E::Im_Tobbel6};
// Lane by lane from behind the player to the launch cell.
constexpr std::array<E, 9> kThrowLane1{E::Im_Ball10, E::Im_Ball11, E::Im_Ball12, E::Im_Ball13, E::Im_Ball14,
                                       E::Im_Ball15, E::Im_Ball16, E::Im_Ball17, E::Im_Ball18};
constexpr std::array<E, 8> kThrowLane2{E::Im_Ball20, E::Im_Ball21, E::Im_Ball22, E::Im_Ball23,
                                       E::Im_Ball24, E::Im_Ball25, E::Im_Ball26, E::Im_Ball27};
constexpr std::array<E, 7> kThrowLane3{E::Im_Ball30, E::Im_Ball31, E::Im_Ball32, E::Im_Ball33,
                                       E::Im_Ball34, E::Im_Ball35, E::Im_Ball36};
// From the opponent's racket to behind the player.
constexpr std::array<std::array<E, kRallyCells>, kLanes> kRallyLanes{{
    {E::Im_Ball61, E::Im_Ball62, E::Im_Ball63, E::Im_Ball64, E::Im_Ball65, E::Im_Ball66},
    {E::Im_Ball51, E::Im_Ball52, E::Im_Ball53, E::Im_Ball54, E::Im_Ball55, E::Im_Ball56},
    {E::Im_Ball41, E::Im_Ball42, E::Im_Ball43, E::Im_Ball44, E::Im_Ball45, E::Im_Ball46},
}};

template <std::size_t N>
void fillThrowLane(SegmentTables& t, int lane, const std::array<E, N>& cells) {
  for (std::size_t c = 0; c < N; ++c) t.throwTrack[lane - 1][c] = cells[c];
}

}  // namespace

void SegmentTables::fill() {
  digitGlyphs = kDigitGlyphs;
  scoreDigits = kScoreDigits;
  missMarks = kMissMarks;
  playerPoses = kPlayerPoses;
  opponentParts = {E::Im_Brunna, E::Im_BrunnaBr1, E::Im_BrunnaBr2, E::Im_BrunnaBr3};
  throwerImages = kThrowerImages;
  fillThrowLane(*this, 1, kThrowLane1);
  fillThrowLane(*this, 2, kThrowLane2);
  fillThrowLane(*this, 3, kThrowLane3);
  for (int lane = 3; lane >= 1; --lane)
    for (int c = 0; c < kRallyCells; ++c) rally(lane, c).segment = kRallyLanes[lane - 1][c];
}

}  // namespace wuffel
