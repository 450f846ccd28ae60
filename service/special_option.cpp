#include "service/special_option.h"

#include "service/service_memory.h"

namespace baldo7 {

namespace {
constexpr int kOutOfRangeIndex = 14;
}

PickList RxVoiceLevelList() {
    PickList list;
    for (int level = 1; level <= kRxVoiceLevels; ++level) list.push_back(std::to_string(level));
    return list;
}

int RxVoiceIndex(std::uint8_t stored) {
    return stored < kRxVoiceLevels ? stored : kOutOfRangeIndex;
}

int RxVoiceIndex(const ServiceMemory& memory) {
    return RxVoiceIndex(*ServiceBytes(memory, addr::kRxVoiceLevel));
}

void StoreRxVoiceIndex(ServiceMemory& memory, int index) {
    if (index >= 0 && index < kRxVoiceLevels)
        *ServiceBytes(memory, addr::kRxVoiceLevel) = static_cast<std::uint8_t>(index);
}

}  // namespace baldo7
