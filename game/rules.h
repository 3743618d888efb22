// The numbers of the game's rules that more than one group of handlers uses.
#pragma once

#include <cstdint>

namespace wuffel {

inline constexpr std::int32_t kLivesPerGame = 3;
// The player stands in the middle lane whenever play is set up.
inline constexpr std::int32_t kStartingLane = 2;

// Points for hitting a thrown ball and for returning the opponent's, except
// during the chance bonus.
inline constexpr std::int32_t kPointsThrown = 2;
inline constexpr std::int32_t kPointsRally = 3;

// A chance comes when the score within its thousand reaches these marks, in
// turn, starting with the first.
inline constexpr std::int32_t kFirstChanceMark = 200;
inline constexpr std::int32_t kSecondChanceMark = 500;

// The first-ball period, in game ticks: while it lasts the thrower throws no
// ball at random, only one when none is in play. A game's start sets the
// shorter; setting the face up for play in Game A, also after a miss, the
// longer.
inline constexpr int kFirstBallTicksAtStart = 60;
inline constexpr int kFirstBallTicksAfterSetUp = 132;

}  // namespace wuffel
