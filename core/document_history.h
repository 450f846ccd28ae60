// The change history's byte side: a snapshot of everything a user can edit
// (radio addresses 0x000-0xFFF, then the software data block) and the ranges
// in which two snapshots differ. A step of the history stores only those ranges.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/radio_image.h"

namespace baldo7 {

// Offsets in a snapshot: radio addresses first, the software data after them.
constexpr std::size_t kSnapshotSoftwareData = kRadioMemorySize;
constexpr std::size_t kSnapshotSize = kRadioMemorySize + kSoftwareDataSize;
using MemorySnapshot = std::array<std::uint8_t, kSnapshotSize>;

struct ChangedRange {
    std::uint16_t offset = 0;  // in the snapshot
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;  // same length as before
};

// One user action: the ranges it changed, in ascending order.
using MemoryChange = std::vector<ChangedRange>;

// The ranges in which `before` and `after` differ. Runs closer than a few bytes
// are joined, so a channel record edit is one range rather than several.
MemoryChange DiffSnapshots(const MemorySnapshot& before, const MemorySnapshot& after);

// Bytes a change holds (both sides), for keeping the history small.
std::size_t ChangeBytes(const MemoryChange& change);

}  // namespace baldo7
