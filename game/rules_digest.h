// A digest of the game's rules and tables: the numbers of its rules, its
// timers, the face's elements and segment tables, and the score's pace. A
// recording names the digest of the rules that played it, and is refused
// by rules with another.
#pragma once

#include <string>

#include "platform/fnv_digest.h"

namespace wuffel {

std::string rulesDigest();

// The score rules' own tables, kept where they are used.
void addScoreRules(FnvDigest& digest);

}  // namespace wuffel
