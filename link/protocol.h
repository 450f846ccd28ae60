// The programming exchange on the wire, as the program (link/) and the simulated
// radio (sim/) both speak it: frame bytes, frame sizes, the identification and the
// line's pace.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/memory_map.h"

namespace baldo7 {

constexpr int kBlockSize = 16;
constexpr int kDataFrameSize = 4 + kBlockSize;  // "W", address high, low, length, data

namespace wire {
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;          // only the radio sends it: a frame refused
constexpr std::uint8_t kStart = 0x02;        // asks for the identification reply
constexpr std::uint8_t kEnd = 0x45;          // "E"
constexpr std::uint8_t kReadRequest = 0x52;  // "R", address high, low, length
constexpr std::uint8_t kDataBlock = 0x57;    // "W"
constexpr std::uint8_t kBlockLength = kBlockSize;
constexpr std::size_t kReadRequestSize = 4;
constexpr char kIdentification[] = "HXLN3B7";
constexpr std::size_t kIdentificationSize = sizeof kIdentification - 1;
constexpr std::size_t kIdentificationReplySize = 8;
constexpr std::uint8_t kReplyMark = 0x49;    // "I", reply byte 0
constexpr std::uint8_t kReplyFixed2 = 0x30;  // "0", reply byte 2
// Reply byte 1 is the radio's model digit (its memory byte 441).
constexpr std::uint8_t kVhfDigit = kModelDigitVhf;
constexpr std::uint8_t kNoSpecialCode = 0x30;  // reply byte 3
// Time one byte takes on the line: 10 bits at 9600 baud.
constexpr std::int64_t kByteTimeNs = 10LL * 1000000000LL / 9600;
}  // namespace wire

}  // namespace baldo7
