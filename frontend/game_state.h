// The game's state as the runner's dump prints it: the digits, the game
// variables and the rally, and the digest of those three lines that a
// recording's end is checked by.
#pragma once

#include <string>

#include "game/handheld.h"

namespace wuffel {

std::string digitsLine(const Face& face);
std::string varsLine(const GameVariables& vars, const RallyState& rally);
std::string rallyLine(const RallyState& rally);
// FNV-1a over the three lines, each without its time and ended by a newline,
// as sixteen hex digits.
std::string gameStateDigest(const Handheld& handheld);

}  // namespace wuffel
