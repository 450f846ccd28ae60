// The radio's memory map: every address and range of the radio's memory that this
// program reads or writes, named once. The editors' byte logic, the link, the
// simulator, `baldo7ctl show` and the print report take their addresses from here.
// docs/memory-map.md describes every entry of kMemoryMap, bits and meanings; a test
// fails when its addresses and these disagree.
#pragma once

#include <cstddef>
#include <cstdint>

namespace baldo7 {

// Radio addresses [first, end).
struct AddressRange {
    std::size_t first = 0;
    std::size_t end = 0;
    constexpr std::size_t size() const { return end - first; }
    constexpr std::size_t last() const { return end - 1; }
};

constexpr AddressRange Span(std::size_t first, std::size_t size = 1) {
    return {first, first + size};
}

// Radio addresses 0x0000..0x03FF are the image that editors, data files and a plain
// transfer share; 0x0400..0x0FFF (local message, stun/die, special option) live
// outside it, in the document's service memory.
constexpr std::size_t kImageSize = 0x0400;
constexpr std::size_t kServiceBase = kImageSize;
constexpr std::size_t kRadioMemorySize = 0x1000;
constexpr std::size_t kServiceSize = kRadioMemorySize - kServiceBase;

namespace addr {

// ---- the image, in decimal where its records are counted so ------------------------

constexpr AddressRange kChannelTable{0x0010, 0x0110};  // 16 records of 16 bytes
constexpr std::size_t kPriorityMode = 288;
constexpr std::size_t kLookBackTime = 290;  // A, then B at 291
constexpr std::size_t kRevertChannel = 292;
constexpr std::size_t kScanDelay = 293;  // dropout delay, then 294 transmit dwell
constexpr std::size_t kExtension = 300;
constexpr std::size_t kOptionBits = 303;
constexpr std::size_t kTot = 304;
constexpr std::size_t kTotWarning = 305;
constexpr std::size_t kKeySet = 306;
constexpr std::size_t kSquelch = 308;
constexpr std::size_t kVox = 309;
constexpr std::size_t kAlarmMethod = 310;
constexpr std::size_t kInfBank = 311;
constexpr std::size_t kInfModel = 312;         // and 313
constexpr std::size_t kPriorityChannel = 312;  // 312..319, one per channel group
constexpr std::size_t kScanAddBitmap = 382;    // and 383
constexpr std::size_t kModelRecord = 440;      // 440..447
constexpr std::size_t kModelDigit = 441;
constexpr std::size_t kBandCode = 445;
constexpr std::size_t kFirmwareVersion = 448;  // 448..451
constexpr AddressRange kRadioPassword = Span(752, 6);

// The tune page, 0x0300 to the image's end: three tables interleaved 0x10 apart from
// TuneTableBase, each a squelch row, a high and a low transmit power row of 16 bytes
// kTuneRowStride apart and eight threshold pairs kTuneThresholds from its base. The
// tables end where the maximum deviation lies. The embedded message shares the
// page's first 64 bytes.
constexpr std::size_t kTuneTables = 0x0300;
constexpr std::size_t kTuneRowStride = 0x30;
constexpr std::size_t kTuneThresholds = 0x90;
constexpr std::size_t kMaxDeviation = 0x03C0;
constexpr std::size_t kEmbeddedMessage = 0x0300;
constexpr std::size_t kEmbeddedMessageEnd = 0x0340;  // two lines of 32 bytes

// ---- service memory ------------------------------------------------------------------

// The dealer and production record; text fields one byte per character.
constexpr AddressRange kLocalMessage{0x0A80, 0x0B80};
constexpr AddressRange kLocalRadioType = Span(0x0A80, 6);
constexpr std::size_t kLocalFrequencyArea = 0x0A86;
constexpr AddressRange kLocalAreaCode = Span(0x0A88, 4);
constexpr AddressRange kLocalSerialNumber = Span(0x0A90, 16);
constexpr AddressRange kLocalProductedDate = Span(0x0AA0, 16);
constexpr AddressRange kLocalManufactureCode = Span(0x0AB0, 8);
constexpr AddressRange kLocalUserCode = Span(0x0AB8, 4);
constexpr AddressRange kLocalPassword = Span(0x0ABC, 4);
constexpr AddressRange kLocalMaintainedDate = Span(0x0AC0, 16);
constexpr AddressRange kLocalDealerCode = Span(0x0AD0, 16);
constexpr AddressRange kLocalStockDate = Span(0x0AE0, 16);
constexpr AddressRange kLocalSellDate = Span(0x0AF0, 16);
constexpr AddressRange kLocalSeller = Span(0x0B00, 16);
constexpr AddressRange kLocalMaintainedDescription = Span(0x0B10, 96);

constexpr AddressRange kStunDie{0x0B80, 0x0BA0};
constexpr AddressRange kStunCode = Span(0x0B80, 8);  // one digit a byte
constexpr AddressRange kDieCode = Span(0x0B88, 8);
constexpr std::size_t kDtmfCodeLengths = 0x0B90;  // stun code's in the low nibble
constexpr std::size_t kStunStatus = 0x0B91;
constexpr std::size_t kStunAckType = 0x0B92;
constexpr std::size_t kStunEnable = 0x0B93;

constexpr AddressRange kSpecialOption{0x0E10, 0x0E20};
constexpr std::size_t kRxVoiceLevel = 0x0E11;

}  // namespace addr

// The tune table of a band by its low edge in MHz: 0x0320 for 200, 0x0310 for 400,
// else 0x0300. An int, as the tune editors count their cells.
constexpr int TuneTableBase(int bandLowMHz) {
    return bandLowMHz == 200 ? 0x0320 : bandLowMHz == 400 ? 0x0310 : 0x0300;
}

// The model digit (byte 441): VHF, or UHF for this and any other value.
constexpr std::uint8_t kModelDigitVhf = 0x32;
constexpr std::uint8_t kModelDigitUhf = 0x33;

// Every entry of the map by the name docs/memory-map.md gives it.
struct MemoryMapEntry {
    const char* name;
    AddressRange range;
};
inline constexpr MemoryMapEntry kMemoryMap[] = {
    {"image", {0, kImageSize}},
    {"channelTable", addr::kChannelTable},
    {"priorityMode", Span(addr::kPriorityMode)},
    {"lookBackTime", Span(addr::kLookBackTime, 2)},
    {"revertChannel", Span(addr::kRevertChannel)},
    {"scanDelay", Span(addr::kScanDelay, 2)},
    {"extension", Span(addr::kExtension)},
    {"optionBits", Span(addr::kOptionBits)},
    {"tot", Span(addr::kTot)},
    {"totWarning", Span(addr::kTotWarning)},
    {"keySet", Span(addr::kKeySet)},
    {"squelch", Span(addr::kSquelch)},
    {"vox", Span(addr::kVox)},
    {"alarmMethod", Span(addr::kAlarmMethod)},
    {"infBank", Span(addr::kInfBank)},
    {"infModel", Span(addr::kInfModel, 2)},
    {"priorityChannel", Span(addr::kPriorityChannel, 8)},
    {"scanAddBitmap", Span(addr::kScanAddBitmap, 2)},
    {"modelRecord", Span(addr::kModelRecord, 8)},
    {"modelDigit", Span(addr::kModelDigit)},
    {"bandCode", Span(addr::kBandCode)},
    {"firmwareVersion", Span(addr::kFirmwareVersion, 4)},
    {"radioPassword", addr::kRadioPassword},
    {"tunePage", {addr::kTuneTables, kImageSize}},
    {"tuneTables", {addr::kTuneTables, addr::kMaxDeviation}},
    {"embeddedMessage", {addr::kEmbeddedMessage, addr::kEmbeddedMessageEnd}},
    {"maxDeviation", Span(addr::kMaxDeviation)},
    {"serviceMemory", {kServiceBase, kRadioMemorySize}},
    {"localMessage", addr::kLocalMessage},
    {"radioType", addr::kLocalRadioType},
    {"frequencyArea", Span(addr::kLocalFrequencyArea)},
    {"areaCode", addr::kLocalAreaCode},
    {"serialNumber", addr::kLocalSerialNumber},
    {"productedDate", addr::kLocalProductedDate},
    {"manufactureCode", addr::kLocalManufactureCode},
    {"userCode", addr::kLocalUserCode},
    {"localPassword", addr::kLocalPassword},
    {"maintainedDate", addr::kLocalMaintainedDate},
    {"dealerCode", addr::kLocalDealerCode},
    {"stockDate", addr::kLocalStockDate},
    {"sellDate", addr::kLocalSellDate},
    {"seller", addr::kLocalSeller},
    {"maintainedDescription", addr::kLocalMaintainedDescription},
    {"stunDie", addr::kStunDie},
    {"stunCode", addr::kStunCode},
    {"dieCode", addr::kDieCode},
    {"dtmfCodeLengths", Span(addr::kDtmfCodeLengths)},
    {"stunStatus", Span(addr::kStunStatus)},
    {"stunAckType", Span(addr::kStunAckType)},
    {"stunEnable", Span(addr::kStunEnable)},
    {"specialOption", addr::kSpecialOption},
    {"rxVoiceLevel", Span(addr::kRxVoiceLevel)},
};

}  // namespace baldo7
