// The radio's memory as this program holds it: the 1024-byte image that editors,
// files and transfers share, the 17-byte software data block that travels with it
// in data files, and storage for the radio addresses above the image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/memory_map.h"

namespace baldo7 {

constexpr std::size_t kSoftwareDataSize = 17;

using RadioImage = std::array<std::uint8_t, kImageSize>;
using SoftwareData = std::array<std::uint8_t, kSoftwareDataSize>;
using ServiceMemory = std::array<std::uint8_t, kServiceSize>;

}  // namespace baldo7
