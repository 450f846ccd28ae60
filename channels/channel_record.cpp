#include "channels/channel_record.h"

#include <charconv>
#include <cstdio>

#include "core/codecs.h"
#include "core/pick_lists.h"
#include "core/texts.h"

namespace baldo7 {

static_assert(kChannelCount * kChannelRecordSize == addr::kChannelTable.size());

std::size_t ChannelAddress(int index) {
    const std::size_t n = static_cast<std::size_t>(index);
    return addr::kChannelTable.first + kChannelRecordSize * n + 32 * (n / 30);
}

// ---- scan bits -------------------------------------------------------------------

ScanBitLocation ScanAddBit(int channel, int group) {
    const int k = channel - 1;
    return {addr::kScanAddBitmap + 2 * static_cast<std::size_t>(group - 1) +
                static_cast<std::size_t>(k / 8),
            ShiftLeft(1, k % 8)};
}

bool GetScanAddBit(const RadioImage& image, int channel) {
    const ScanBitLocation at = ScanAddBit(channel);
    return (image[at.byteAddress] & at.mask) != 0;
}

void SetScanAddBit(RadioImage& image, int channel, bool on) {
    const ScanBitLocation at = ScanAddBit(channel);
    if (on)
        image[at.byteAddress] |= at.mask;
    else
        image[at.byteAddress] &= static_cast<std::uint8_t>(~at.mask);
}

// ---- decimal numbers -------------------------------------------------------------

namespace {

struct DecimalParts {
    std::string whole;
    std::string fraction;
};

std::optional<DecimalParts> splitDecimal(const std::string& text, char separator) {
    DecimalParts parts;
    bool seenSeparator = false;
    for (char c : text) {
        if (c == separator && !seenSeparator) {
            seenSeparator = true;
        } else if (c >= '0' && c <= '9') {
            (seenSeparator ? parts.fraction : parts.whole) += c;
        } else {
            return std::nullopt;
        }
    }
    if (parts.whole.empty() && parts.fraction.empty()) return std::nullopt;
    const auto firstNonZero = parts.whole.find_first_not_of('0');
    parts.whole = firstNonZero == std::string::npos ? "" : parts.whole.substr(firstNonZero);
    return parts;
}

}  // namespace

std::optional<double> ParseDecimal(const std::string& text, char separator) {
    const auto parts = splitDecimal(text, separator);
    if (!parts) return std::nullopt;
    const std::string plain =
        (parts->whole.empty() ? "0" : parts->whole) + "." + parts->fraction + "0";
    double value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc()) return std::nullopt;
    return value;
}

std::optional<std::int64_t> ParseScaled(const std::string& text, char separator, int decimals) {
    const auto parts = splitDecimal(text, separator);
    if (!parts || parts->whole.size() > 12) return std::nullopt;
    std::int64_t value = 0;
    for (char c : parts->whole) value = value * 10 + (c - '0');
    const std::string& f = parts->fraction;
    for (int i = 0; i < decimals; ++i)
        value = value * 10 + (static_cast<std::size_t>(i) < f.size() ? f[i] - '0' : 0);
    if (f.size() > static_cast<std::size_t>(decimals)) {
        const char first = f[decimals];
        const bool restNonZero =
            f.find_first_not_of('0', static_cast<std::size_t>(decimals) + 1) != std::string::npos;
        if (first > '5' || (first == '5' && (restNonZero || value % 2 != 0))) ++value;
    }
    return value;
}

// ---- frequencies -----------------------------------------------------------------

std::string FrequencyToText(const FrequencyBytes& b, char separator) {
    char head[8];
    std::snprintf(head, sizeof head, "%X", b[3]);
    std::string text = head;
    auto nibble = [&text](int v) { text += std::to_string(v); };
    nibble(b[2] >> 4);
    text += separator;
    nibble(b[2] & 0x0F);
    nibble(b[1] >> 4);
    nibble(b[1] & 0x0F);
    nibble(b[0] >> 4);
    nibble(b[0] & 0x0F);
    return text;
}

bool FrequencyInUse(const std::string& text, char separator) {
    const auto value = ParseDecimal(text, separator);
    return value && *value >= kInUseLowMHz && *value <= kInUseHighMHz;
}

static bool isBcd(const FrequencyBytes& bytes) {
    for (std::uint8_t b : bytes)
        if ((b >> 4) > 9 || (b & 0x0F) > 9) return false;
    return true;
}

std::int64_t BytesToUnits(const FrequencyBytes& bytes) {
    std::int64_t units = 0;
    for (int k = 3; k >= 0; --k) units = units * 100 + (bytes[k] >> 4) * 10 + (bytes[k] & 0x0F);
    return units;
}

bool FrequencyInUse(const FrequencyBytes& bytes) {
    if (!isBcd(bytes)) return false;
    const std::int64_t units = BytesToUnits(bytes);
    return units >= kInUseLowMHz * kUnitsPerMHz && units <= kInUseHighMHz * kUnitsPerMHz;
}

FrequencyBytes UnitsToBytes(std::int64_t units) {
    FrequencyBytes bytes{};
    for (int k = 0; k < 4; ++k) {
        bytes[k] = ByteToBcd(static_cast<std::uint8_t>(units % 100));
        units /= 100;
    }
    return bytes;
}

FrequencyBytes FrequencyToBytes(double mhz) {
    // Through the decimal text so that 145.000005 is a true half: binary doubles
    // would round it either way.
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, mhz, std::chars_format::fixed, 9);
    if (end.ec != std::errc()) return UnitsToBytes(0);
    const auto units = ParseScaled(std::string(text, end.ptr), '.', kFrequencyDecimals);
    return UnitsToBytes(units.value_or(0));
}

static FrequencyBytes readFrequency(const RadioImage& image, std::size_t at) {
    return {image[at], image[at + 1], image[at + 2], image[at + 3]};
}

static void writeBytes(RadioImage& image, std::size_t at, const FrequencyBytes& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) image[at + i] = bytes[i];
}

FrequencyBytes RxFrequencyBytes(const RadioImage& image, int channel) {
    return readFrequency(image, ChannelStart(channel) + chan::kRxFreq);
}

FrequencyBytes TxFrequencyBytes(const RadioImage& image, int channel) {
    return readFrequency(image, ChannelStart(channel) + chan::kTxFreq);
}

void SetRxFrequency(RadioImage& image, int channel, const FrequencyBytes& bytes) {
    writeBytes(image, ChannelStart(channel) + chan::kRxFreq, bytes);
}

void SetTxFrequency(RadioImage& image, int channel, const FrequencyBytes& bytes) {
    writeBytes(image, ChannelStart(channel) + chan::kTxFreq, bytes);
}

bool ChannelInUse(const RadioImage& image, int channel) {
    return FrequencyInUse(RxFrequencyBytes(image, channel));
}

bool TxInUse(const RadioImage& image, int channel) {
    return FrequencyInUse(TxFrequencyBytes(image, channel));
}

// ---- tones -----------------------------------------------------------------------

ToneCode CtcssTone(int tenths) {
    return {static_cast<std::uint8_t>(tenths & 0xFF),
            static_cast<std::uint8_t>((tenths >> 8) & 0x0F)};
}

ToneCode DcsTone(int digits, bool inverted) {
    const int code = (digits / 100) * 64 + ((digits % 100) / 10) * 8 + digits % 10;
    std::uint8_t high = static_cast<std::uint8_t>(((code & 0xF00) >> 8) | 0x20);
    if (inverted) high |= 0x80;
    return {static_cast<std::uint8_t>(code & 0xFF), high};
}

std::string ToneToText(ToneCode code, bool isEnglish, char separator) {
    const std::string none = texts::kNone.pick(isEnglish);
    if (code.isNone()) return none;
    if ((code.high & 0x20) == 0) {
        const int tenths = (code.high & 0x0F) * 256 + code.low;
        return tenths < 2544 ? TenthsToText(tenths, separator) : none;
    }
    const int c = (code.high & 0x01) * 256 + code.low;
    char text[8];
    std::snprintf(text, sizeof text, "D%d%d%d%c", c / 64, (c / 8) % 8, c % 8,
                  (code.high & 0x80) ? 'I' : 'N');
    return text;
}

ToneCode ToneFromListIndex(int index, const std::string& entryText, char separator) {
    if (index >= kFirstCtcssIndex && index < kFirstDcsIndex) {
        const auto tenths = ParseScaled(entryText, separator, 1);
        return CtcssTone(tenths ? static_cast<int>(*tenths) : kCtcssTenths[index - 1]);
    }
    if (index >= kFirstDcsIndex && index < kToneListSize) {
        const bool inverted = index >= kFirstInvertedDcsIndex;
        int digits = kDcsCodes[(index - kFirstDcsIndex) % kDcsCount];
        if (entryText.size() >= 4 && entryText[0] == 'D') {
            const auto parsed = ParseScaled(entryText.substr(1, 3), '.', 0);
            if (parsed && *parsed <= 777) digits = static_cast<int>(*parsed);
        }
        return DcsTone(digits, inverted);
    }
    return kNoTone;
}

static ToneCode readTone(const RadioImage& image, std::size_t at) {
    return {image[at], image[at + 1]};
}

ToneCode RxTone(const RadioImage& image, int channel) {
    return readTone(image, ChannelStart(channel) + chan::kRxTone);
}

ToneCode TxTone(const RadioImage& image, int channel) {
    return readTone(image, ChannelStart(channel) + chan::kTxTone);
}

void SetRxTone(RadioImage& image, int channel, ToneCode code) {
    image[ChannelStart(channel) + chan::kRxTone] = code.low;
    image[ChannelStart(channel) + chan::kRxTone + 1] = code.high;
}

void SetTxTone(RadioImage& image, int channel, ToneCode code) {
    image[ChannelStart(channel) + chan::kTxTone] = code.low;
    image[ChannelStart(channel) + chan::kTxTone + 1] = code.high;
}

// ---- whole records ---------------------------------------------------------------

void ClearChannel(RadioImage& image, int channel) {
    const std::size_t at = ChannelStart(channel);
    for (std::size_t i = 0; i < kChannelRecordSize; ++i) image[at + i] = 0xFF;
    ClearScanAddBit(image, channel);
}

void ClearTx(RadioImage& image, int channel) {
    SetTxFrequency(image, channel, {0xFF, 0xFF, 0xFF, 0xFF});
    SetTxTone(image, channel, kNoTone);
}

void ApplyNewChannelDefaults(RadioImage& image, int channel) {
    image[ChannelStart(channel) + chan::kFlags12] = chan::kNewFlags12;
    image[ChannelStart(channel) + chan::kFlags13] = chan::kNewFlags13;
    SetScanAddBit(image, channel);
}

FrequencyBytes TxFollowingRx(std::int64_t rxUnits, int bandTxHighMHz) {
    const std::int64_t limit = static_cast<std::int64_t>(bandTxHighMHz) * kUnitsPerMHz;
    return UnitsToBytes(rxUnits > limit ? limit : rxUnits);
}

// ---- decoded view ----------------------------------------------------------------

ChannelView DecodeChannel(const RadioImage& image, int channel, bool isEnglish, char separator) {
    ChannelView v;
    const std::size_t at = ChannelStart(channel);
    v.inUse = ChannelInUse(image, channel);
    if (!v.inUse) return v;
    v.rxText = FrequencyToText(RxFrequencyBytes(image, channel), separator);
    v.txInUse = TxInUse(image, channel);
    if (v.txInUse) v.txText = FrequencyToText(TxFrequencyBytes(image, channel), separator);
    v.rxTone = RxTone(image, channel);
    v.txTone = TxTone(image, channel);
    v.rxToneText = ToneToText(v.rxTone, isEnglish, separator);
    v.txToneText = ToneToText(v.txTone, isEnglish, separator);
    const std::uint8_t f12 = image[at + chan::kFlags12];
    const std::uint8_t f13 = image[at + chan::kFlags13];
    v.powerIndex = f13 & chan::kTxPowerHighBit;
    v.spacingIndex = (f12 & chan::kWideBandBit) ? 1 : 0;
    const std::uint8_t busy = f12 & chan::kBusyLockMask;
    v.busyLockIndex = busy == chan::kBusyCarrier ? 1 : busy == chan::kBusyQtDqt ? 2 : 0;
    v.scrambleTypeIndex = f12 & chan::kScrambleTypeMask;
    v.compand = (f12 & chan::kCompandBit) != 0;
    v.scrambleOn = (f12 & chan::kScrambleOnBit) != 0;
    v.cdcssModeIndex = (f13 & chan::kCdcssSpecialBit) ? 1 : 0;
    v.scanAdd = GetScanAddBit(image, channel);
    return v;
}

ChannelView DisplayChannel(Document& doc, int channel) {
    ChannelView v = DecodeChannel(doc.radioImage, channel, doc.IsEnglish, doc.DecimalSeparator);
    if (!v.inUse) ClearScanAddBit(doc.radioImage, channel);
    return v;
}

// ---- bit fields ------------------------------------------------------------------

static void writeField(RadioImage& image, int channel, std::size_t offset, std::uint8_t mask,
                       std::uint8_t value) {
    std::uint8_t& b = image[ChannelStart(channel) + offset];
    b = static_cast<std::uint8_t>((b & ~mask) | (value & mask));
}

void SetTxPower(RadioImage& image, int channel, int index) {
    writeField(image, channel, chan::kFlags13, chan::kTxPowerHighBit, index ? 0x01 : 0x00);
}

void SetSpacing(RadioImage& image, int channel, int index) {
    writeField(image, channel, chan::kFlags12, chan::kWideBandBit, index ? 0x08 : 0x00);
}

void SetBusyLock(RadioImage& image, int channel, int index) {
    const std::uint8_t value = index == 1 ? chan::kBusyCarrier : index == 2 ? chan::kBusyQtDqt : 0;
    writeField(image, channel, chan::kFlags12, chan::kBusyLockMask, value);
}

void SetScrambleType(RadioImage& image, int channel, int index) {
    writeField(image, channel, chan::kFlags12, chan::kScrambleTypeMask,
               static_cast<std::uint8_t>(index));
}

void SetCompand(RadioImage& image, int channel, bool on) {
    writeField(image, channel, chan::kFlags12, chan::kCompandBit, on ? 0xFF : 0x00);
}

void SetScrambleOn(RadioImage& image, int channel, bool on) {
    writeField(image, channel, chan::kFlags12, chan::kScrambleOnBit, on ? 0xFF : 0x00);
}

void SetCdcssMode(Document& doc, int channel, int index) {
    const bool special = doc.SpecialCodeSupported && index == 1;
    writeField(doc.radioImage, channel, chan::kFlags13, chan::kCdcssSpecialBit,
               special ? 0xFF : 0x00);
}

void SetReverse(RadioImage& image, int channel, bool on) {
    if (on)
        writeField(image, channel, chan::kFlags12, chan::kBusyLockMask, chan::kBusyCarrier);
    else
        writeField(image, channel, chan::kFlags12, chan::kBusyCarrier, 0);
}

void SetTalkAround(RadioImage& image, int channel, bool on) {
    if (on)
        writeField(image, channel, chan::kFlags12, chan::kBusyLockMask, chan::kBusyQtDqt);
    else
        writeField(image, channel, chan::kFlags12, chan::kBusyQtDqt, 0);
}

void SetScanFromListIndex(RadioImage& image, int channel, int index) {
    SetScanAddBit(image, channel, index == 0);
}

// ---- moving channels -------------------------------------------------------------

static void moveChannel(RadioImage& image, int from, int to) {
    const std::size_t src = ChannelStart(from), dst = ChannelStart(to);
    for (std::size_t i = 0; i < kChannelRecordSize; ++i) {
        image[dst + i] = image[src + i];
        image[src + i] = 0xFF;
    }
    SetScanAddBit(image, to, GetScanAddBit(image, from));
    ClearScanAddBit(image, from);
}

bool InsertEmptyChannel(RadioImage& image, int row) {
    if (!IsChannelNumber(row) || ChannelInUse(image, kChannelCount)) return false;
    // On row 16 nothing moves: the channel already reads as empty and its leftover
    // bytes stay as they were.
    for (int k = kChannelCount - 1; k >= row; --k) moveChannel(image, k, k + 1);
    return true;
}

void DeleteChannel(RadioImage& image, int row) {
    if (!IsChannelNumber(row)) return;
    for (int k = row; k < kChannelCount; ++k) moveChannel(image, k + 1, k);
    if (row == kChannelCount) ClearChannel(image, kChannelCount);
}

}  // namespace baldo7
