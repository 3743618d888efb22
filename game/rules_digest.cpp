#include "game/rules_digest.h"

#include <string_view>

#include "face/elements.h"
#include "face/segment_tables.h"
#include "game/rules.h"
#include "game/timers.h"

namespace wuffel {

namespace {
void addElement(FnvDigest& digest, ElementId id) { digest.add(static_cast<int>(id)); }
}  // namespace

std::string rulesDigest() {
  FnvDigest digest;
  digest.add(kLivesPerGame).add(kStartingLane).add(kPointsThrown).add(kPointsRally);
  digest.add(kFirstChanceMark).add(kSecondChanceMark).add(kFirstBallTicksAtStart).add(kFirstBallTicksAfterSetUp);
  digest.add(kStartingTickMs);
  for (const auto& timer : kTimers) digest.add(timer.name).add(timer.intervalAtCreation);
  for (const auto& e : kElements)
    digest.add(e.name).add(static_cast<int>(e.kind)).add(e.left).add(e.top).add(e.width).add(e.height);
  const auto& t = kSegmentTables;
  for (const auto id : t.digitGlyphs) addElement(digest, id);
  for (const auto id : t.scoreDigits) addElement(digest, id);
  for (const auto id : t.missMarks) addElement(digest, id);
  for (const auto& lane : t.throwTrack)
    for (const auto& cell : lane) digest.add(cell ? static_cast<int>(*cell) : -1);
  for (const auto& lane : t.rallyTrack)
    for (const auto id : lane) addElement(digest, id);
  for (const auto& lane : t.playerPoses)
    for (const auto id : lane) addElement(digest, id);
  for (const auto id : t.opponentParts) addElement(digest, id);
  for (const auto id : t.throwerImages) addElement(digest, id);
  addScoreRules(digest);
  return digest.hex();
}

}  // namespace wuffel
