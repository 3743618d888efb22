// The runner's `dump`: the whole state of the handheld and its stand-ins,
// as trace lines.
#pragma once

#include "frontend/event_log.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"

namespace wuffel::sim {

void writeDump(EventLog& trace, const VirtualHandheld& handheld, const MemorySettings& store);

}  // namespace wuffel::sim
