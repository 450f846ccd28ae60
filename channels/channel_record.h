// The 16 channel records of the radio memory image: addresses, scan bits, the
// packed-BCD frequency and two-byte tone codecs, empty channels and the bit fields
// of flag bytes 12 and 13. Every channel editor reads and writes channels only here.
// Channels are numbered 1..16 unless a parameter says "index".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/document.h"

namespace baldo7 {

constexpr int kChannelCount = 16;
constexpr std::size_t kChannelRecordSize = 16;

// Offsets inside a record.
namespace chan {
constexpr std::size_t kRxFreq = 0;
constexpr std::size_t kTxFreq = 4;
constexpr std::size_t kRxTone = 8;
constexpr std::size_t kTxTone = 10;
constexpr std::size_t kFlags12 = 12;
constexpr std::size_t kFlags13 = 13;

constexpr std::uint8_t kScrambleTypeMask = 0x07;
constexpr std::uint8_t kWideBandBit = 0x08;
constexpr std::uint8_t kBusyLockMask = 0x30;
constexpr std::uint8_t kBusyCarrier = 0x10;
constexpr std::uint8_t kBusyQtDqt = 0x20;
constexpr std::uint8_t kCompandBit = 0x40;
constexpr std::uint8_t kScrambleOnBit = 0x80;
constexpr std::uint8_t kTxPowerHighBit = 0x01;
constexpr std::uint8_t kCdcssSpecialBit = 0x10;

// What a channel that starts being used receives.
constexpr std::uint8_t kNewFlags12 = 0x08;
constexpr std::uint8_t kNewFlags13 = 0x01;
}  // namespace chan

inline bool IsChannelNumber(int channel) {
    return channel >= 1 && channel <= kChannelCount;
}

// First byte of channel index n (0-based, group folded in): 16 + 16n + 32*(n/30).
std::size_t ChannelAddress(int index);
// First byte of channel 1..16 of group 1.
inline std::size_t ChannelStart(int channel) {
    return ChannelAddress(channel - 1);
}

// ---- scan add bitmap -------------------------------------------------------------

struct ScanBitLocation {
    std::size_t byteAddress;
    std::uint8_t mask;
};
ScanBitLocation ScanAddBit(int channel, int group = 1);
bool GetScanAddBit(const RadioImage& image, int channel);
void SetScanAddBit(RadioImage& image, int channel, bool on = true);
inline void ClearScanAddBit(RadioImage& image, int channel) {
    SetScanAddBit(image, channel, false);
}

// ---- numbers typed with the document's decimal separator -------------------------

// Digits with at most one separator ("145", "145.", ".5", "145.125"); anything else,
// the empty text and the separator alone are not numbers.
std::optional<double> ParseDecimal(const std::string& text, char separator);
// The same number times 10^decimals, rounded to an integer with halves to even,
// computed on the digits (no binary rounding). Only for values of at most 12 digits.
std::optional<std::int64_t> ParseScaled(const std::string& text, char separator, int decimals);

// ---- frequencies -----------------------------------------------------------------

using FrequencyBytes = std::array<std::uint8_t, 4>;

// Frequencies in 10 Hz units (MHz x 100000), the value the four BCD bytes hold.
constexpr std::int64_t kUnitsPerMHz = 100000;
constexpr int kFrequencyDecimals = 5;

// A channel is in use while its receive frequency lies in this range. The top is the
// top of the highest band (450-530 MHz): anything a band lets the user store must
// read back as a channel, never as an empty one.
constexpr int kInUseLowMHz = 50;
constexpr int kInUseHighMHz = 530;

// 0x00 0x25 0x51 0x14 -> "145.12500" (byte 3 in hex, then one decimal per nibble).
std::string FrequencyToText(const FrequencyBytes& bytes, char separator);
// kInUseLowMHz <= value <= kInUseHighMHz.
bool FrequencyInUse(const std::string& text, char separator);
// Bytes that are all BCD digits and decode to the in-use range. Lower nibbles above 9
// would print as a number with extra digits and still pass the text test.
bool FrequencyInUse(const FrequencyBytes& bytes);

FrequencyBytes UnitsToBytes(std::int64_t units);
std::int64_t BytesToUnits(const FrequencyBytes& bytes);  // BCD bytes only
// value x 100000 rounded, halves to even.
FrequencyBytes FrequencyToBytes(double mhz);

FrequencyBytes RxFrequencyBytes(const RadioImage& image, int channel);
FrequencyBytes TxFrequencyBytes(const RadioImage& image, int channel);
void SetRxFrequency(RadioImage& image, int channel, const FrequencyBytes& bytes);
void SetTxFrequency(RadioImage& image, int channel, const FrequencyBytes& bytes);
bool ChannelInUse(const RadioImage& image, int channel);
bool TxInUse(const RadioImage& image, int channel);

// ---- tones -----------------------------------------------------------------------

struct ToneCode {
    std::uint8_t low = 0xFF;
    std::uint8_t high = 0xFF;
    bool isNone() const { return low == 0xFF && high == 0xFF; }
    bool operator==(const ToneCode& o) const { return low == o.low && high == o.high; }
    bool operator!=(const ToneCode& o) const { return !(*this == o); }
};
constexpr ToneCode kNoTone{};

// CTCSS in tenths of a hertz, DCS from three octal digits read as a decimal number
// (23 -> D023); no range checks beyond the bit layout.
ToneCode CtcssTone(int tenths);
ToneCode DcsTone(int digits, bool inverted);

// "None"/"无", "88.5", "D023N", "D423I"; CTCSS of 254.4 Hz or more reads as none.
std::string ToneToText(ToneCode code, bool isEnglish, char separator);
// A pick-list selection: 0 none, 1..50 CTCSS, 51..166 DCS, 167..282 inverted DCS.
// The entry text supplies the value; an index outside the list gives none.
ToneCode ToneFromListIndex(int index, const std::string& entryText, char separator);

ToneCode RxTone(const RadioImage& image, int channel);
ToneCode TxTone(const RadioImage& image, int channel);
void SetRxTone(RadioImage& image, int channel, ToneCode code);
void SetTxTone(RadioImage& image, int channel, ToneCode code);

// ---- whole records ---------------------------------------------------------------

// Sixteen 0xFF bytes and the scan bit cleared.
void ClearChannel(RadioImage& image, int channel);
// Transmit frequency and encode tone 0xFF.
void ClearTx(RadioImage& image, int channel);
// Wide, high power, busy lock none, scramble type 1, scrambler and compander off,
// normal code, scan bit set. Tones are left to the caller.
void ApplyNewChannelDefaults(RadioImage& image, int channel);

// Transmit frequency for a receive frequency when the transmit side is blank: the
// same, or exactly BandTxHighMHz when the receive value lies above it.
FrequencyBytes TxFollowingRx(std::int64_t rxUnits, int bandTxHighMHz);

// ---- decoded view ----------------------------------------------------------------

// List indices as the pick lists order them (power: 0 low; spacing: 0 narrow;
// busy lock: 0 none, 1 carrier, 2 QT/DQT; scan list: 0 add, 1 delete).
struct ChannelView {
    bool inUse = false;
    std::string rxText;  // "" when not in use
    bool txInUse = false;
    std::string txText;  // "" when absent or the channel is not in use
    ToneCode rxTone, txTone;
    std::string rxToneText, txToneText;
    int powerIndex = 0;
    int spacingIndex = 0;
    int busyLockIndex = 0;
    int scrambleTypeIndex = 0;
    bool compand = false;
    bool scrambleOn = false;
    int cdcssModeIndex = 0;
    bool scanAdd = false;
    int scanListIndex() const { return scanAdd ? 0 : 1; }
};

ChannelView DecodeChannel(const RadioImage& image, int channel, bool isEnglish, char separator);
// What an editor does when it shows a channel: decode it and clear the scan bit of a
// channel that is not in use.
ChannelView DisplayChannel(Document& doc, int channel);

// ---- bit fields (read-modify-write; the rest of the byte is kept) ----------------

void SetTxPower(RadioImage& image, int channel, int index);
void SetSpacing(RadioImage& image, int channel, int index);
void SetBusyLock(RadioImage& image, int channel, int index);  // 3 and above: none
void SetScrambleType(RadioImage& image, int channel, int index);
void SetCompand(RadioImage& image, int channel, bool on);
void SetScrambleOn(RadioImage& image, int channel, bool on);
// Special code only when the radio supports it; otherwise the bit is cleared.
void SetCdcssMode(Document& doc, int channel, int index);
// The dialog's Reverse and Talk Around boxes share the busy lock bits: ticking one
// sets 0x10 (reverse) or 0x20 (talk around) and clears the other; unticking clears
// its own bit.
void SetReverse(RadioImage& image, int channel, bool on);
void SetTalkAround(RadioImage& image, int channel, bool on);

// Scan list index 0 (add) sets the bit, 1 (delete) clears it.
void SetScanFromListIndex(RadioImage& image, int channel, int index);

// ---- moving channels -------------------------------------------------------------

// Shifts channels row..15 down by one (with their scan bits) and leaves `row` empty;
// on row 16 no byte changes. Refused (false, nothing changed) when channel 16 is in
// use.
bool InsertEmptyChannel(RadioImage& image, int row);
// Removes channel `row`: channels below move up with their scan bits and channel 16
// becomes empty (also when `row` is 16 itself).
void DeleteChannel(RadioImage& image, int row);

}  // namespace baldo7
