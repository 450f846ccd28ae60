// The special option block (addr::kSpecialOption): the receive voice level at
// addr::kRxVoiceLevel, index 0..15 for the levels 1..16. The other bytes travel
// unchanged.
#pragma once

#include <cstdint>

#include "core/pick_lists.h"
#include "core/radio_image.h"

namespace baldo7 {

constexpr int kRxVoiceLevels = 16;

// "1" .. "16".
PickList RxVoiceLevelList();
// The list index shown for a stored byte: the byte up to 15, else 14 (level "15").
int RxVoiceIndex(std::uint8_t stored);
int RxVoiceIndex(const ServiceMemory& memory);
void StoreRxVoiceIndex(ServiceMemory& memory, int index);

}  // namespace baldo7
