// What a radio out of the factory holds above its channel data: a dealer and
// production record, a stun/die block, a special option block and tune tables.
// The simulators start from it so every service window has something real to show.
#pragma once

#include "sim/radio_simulator.h"

namespace baldo7::sim {

// The dealer record (addr::kLocalMessage), the stun/die block (addr::kStunDie) and
// the special option block (addr::kSpecialOption).
void fillSampleServiceData(Memory& memory);

// Tune tables, thresholds and the maximum deviation in page 0x0300..0x03FF. The
// three bands' tables interleave (stride 0x30), so all of them are filled and the
// page suits a radio of any band. The page's first 64 bytes are also the embedded
// message's cells: a tuned radio shows them there.
void fillSampleTuneData(Memory& memory);

}  // namespace baldo7::sim
