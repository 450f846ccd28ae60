// The service tools read and write radio addresses above the image by address; the
// document keeps them in its service memory.
#pragma once

#include <cstdint>

#include "core/radio_image.h"

namespace baldo7 {

// First byte of the radio address `address` (0x0400..0x0FFF) in `memory`.
inline std::uint8_t* ServiceBytes(ServiceMemory& memory, std::size_t address) {
    return memory.data() + (address - kServiceBase);
}
inline const std::uint8_t* ServiceBytes(const ServiceMemory& memory, std::size_t address) {
    return memory.data() + (address - kServiceBase);
}

}  // namespace baldo7
