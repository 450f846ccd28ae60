// The radio's memory map: every address and range of the radio's memory that this
// program reads or writes, named once. docs/memory-map.md describes them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace baldo7 {

// Radio addresses 0x0000..0x03FF are the image that editors, data files and a plain
// transfer share; 0x0400..0x0FFF (tune read-back, local message, stun/die, special
// option) live outside it, in the document's service memory.
constexpr std::size_t kImageSize = 0x0400;
constexpr std::size_t kServiceBase = kImageSize;
constexpr std::size_t kRadioMemorySize = 0x1000;
constexpr std::size_t kServiceSize = kRadioMemorySize - kServiceBase;

// Image addresses, decimal where the image's records are counted so.
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

// The model digit (byte 441): VHF, or UHF for this and any other value.
constexpr std::uint8_t kModelDigitVhf = 0x32;
constexpr std::uint8_t kModelDigitUhf = 0x33;

}  // namespace baldo7
