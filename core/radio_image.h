// The radio's memory as this program holds it: the 1024-byte image that editors,
// files and transfers share, the 17-byte software data block that travels with it
// in data files, and storage for the radio addresses above the image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace baldo7 {

constexpr std::size_t kImageSize = 1024;
constexpr std::size_t kSoftwareDataSize = 17;
// Radio addresses 0x0400..0x0FFF (tune, local message, stun/die, special option)
// live outside the image.
constexpr std::size_t kServiceBase = 0x0400;
constexpr std::size_t kRadioMemorySize = 0x1000;
constexpr std::size_t kServiceSize = kRadioMemorySize - kServiceBase;

using RadioImage = std::array<std::uint8_t, kImageSize>;
using SoftwareData = std::array<std::uint8_t, kSoftwareDataSize>;
using ServiceMemory = std::array<std::uint8_t, kServiceSize>;

// Image addresses that more than one unit needs.
namespace addr {
constexpr std::size_t kChannelTable = 0x010;
constexpr std::size_t kExtension = 300;
constexpr std::size_t kOptionBits = 303;
constexpr std::size_t kTot = 304;
constexpr std::size_t kTotWarning = 305;
constexpr std::size_t kKeySet = 306;
constexpr std::size_t kSquelch = 308;
constexpr std::size_t kVox = 309;
constexpr std::size_t kAlarmMethod = 310;
constexpr std::size_t kInfBank = 311;
constexpr std::size_t kInfModel = 312;       // and 313
constexpr std::size_t kScanAddBitmap = 382;  // and 383
constexpr std::size_t kModelRecord = 440;    // 440..447
constexpr std::size_t kModelDigit = 441;
constexpr std::size_t kBandCode = 445;
constexpr std::size_t kFirmwareVersion = 448;
constexpr std::size_t kRadioPassword = 752;  // 752..757
constexpr std::size_t kEmbeddedMessage = 768;
constexpr std::size_t kTuneTables = 768;
constexpr std::size_t kMaxDeviation = 960;
}  // namespace addr

}  // namespace baldo7
