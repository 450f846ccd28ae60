#include "link/transfer_ranges.h"

#include <cmath>

namespace baldo7 {

namespace {

// The memory map's addresses as the block counters hold them.
constexpr int at(std::size_t address) {
    return static_cast<int>(address);
}
constexpr int kPlainReadEnd = at(kImageSize);
constexpr int kPlainWriteEnd = at(addr::kTuneTables);  // a plain write never sends tune data
constexpr int kTuneStart = at(addr::kTuneTables);
constexpr int kTuneReadEnd = at(kRadioMemorySize);
constexpr int kTuneWriteEnd = at(kImageSize);
constexpr int kLocalMessageStart = at(addr::kLocalMessage.first);
constexpr int kLocalMessageEnd = at(addr::kLocalMessage.end);
constexpr int kStunDieStart = at(addr::kStunDie.first);
constexpr int kStunDieEnd = at(addr::kStunDie.end);
constexpr int kSpecialStart = at(addr::kSpecialOption.first);
constexpr int kSpecialEnd = at(addr::kSpecialOption.end);
constexpr int kPasswordFirst = at(addr::kRadioPassword.first);
// In a page, the tune tables end where the maximum deviation lies; a table's next row
// is one stride on.
constexpr int kTablesEnd = at(addr::kMaxDeviation - addr::kTuneTables);
constexpr int kToNextRow = at(addr::kTuneRowStride) - kBlockSize;

int tuneWriteBase(int bandLowMHz) {
    return TuneTableBase(bandLowMHz);
}

}  // namespace

TransferRange AreaRange(TransferArea area, bool read, int bandLowMHz) {
    switch (area) {
        case TransferArea::Tune:
            if (read) return {kTuneStart, kTuneReadEnd, kTuneStart, false};
            return {tuneWriteBase(bandLowMHz), kTuneWriteEnd, kTuneStart, true};
        // Only ever read; a write of the same range moves the same bytes.
        case TransferArea::Local:
            return {kLocalMessageStart, kLocalMessageEnd, kLocalMessageStart, false};
        case TransferArea::Special:
            return {kSpecialStart, kSpecialEnd, kSpecialStart, false};
        case TransferArea::StunDie:
            return {kStunDieStart, kStunDieEnd, kStunDieStart, false};
        case TransferArea::Data:
            break;
    }
    return {0, read ? kPlainReadEnd : kPlainWriteEnd, 0, false};
}

bool RangeFinished(int blockAddrHigh, int blockAddrLow, int endAddrHigh, int endAddrLow) {
    return blockAddrHigh >= endAddrHigh && blockAddrLow >= endAddrLow;
}

void AdvanceBlock(int& blockAddrHigh, int& blockAddrLow, bool tuneOrder) {
    blockAddrLow += kBlockSize;
    if (tuneOrder && blockAddrLow < kTablesEnd) {
        if (blockAddrLow >= kTablesEnd - kToNextRow)
            blockAddrLow = kTablesEnd;
        else
            blockAddrLow += kToNextRow;
    }
    if (blockAddrLow >= 256) {
        blockAddrLow -= 256;
        blockAddrHigh += 1;
    }
}

double ProgressFraction(int nextAddress, const TransferRange& range) {
    const double f = static_cast<double>(nextAddress - range.progressStart) /
                     static_cast<double>(range.end - range.progressStart);
    return f > 1.0 ? 1.0 : f;
}

std::string PercentText(double fraction) {
    const long percent = std::lround(fraction * 100.0);
    return percent == 0 ? std::string("%") : std::to_string(percent) + "%";
}

bool BlockInStorage(int address) {
    return address >= 0 && address + kBlockSize <= static_cast<int>(kRadioMemorySize);
}

RadioMemory RadioMemory::of(const Document& doc) {
    RadioMemory memory;
    memory.image = doc.radioImage;
    memory.service = doc.serviceMemory;
    return memory;
}

void RadioMemory::commitTo(Document& doc) const {
    doc.radioImage = image;
    doc.serviceMemory = service;
}

static std::uint8_t byteAt(const RadioImage& image, const ServiceMemory& service, int address) {
    const auto a = static_cast<std::size_t>(address);
    return a < kImageSize ? image[a] : service.at(a - kServiceBase);
}

std::uint8_t RadioMemory::at(int address) const {
    return byteAt(image, service, address);
}

void RadioMemory::set(int address, std::uint8_t value) {
    const auto a = static_cast<std::size_t>(address);
    if (a < kImageSize)
        image[a] = value;
    else
        service.at(a - kServiceBase) = value;
}

Bytes ReadRequestFrame(int address) {
    return {wire::kReadRequest, static_cast<std::uint8_t>(address >> 8),
            static_cast<std::uint8_t>(address & 0xFF), wire::kBlockLength};
}

Bytes DataBlockFrame(int address, const RadioImage& image, const ServiceMemory& service) {
    Bytes frame{wire::kDataBlock, static_cast<std::uint8_t>(address >> 8),
                static_cast<std::uint8_t>(address & 0xFF), wire::kBlockLength};
    frame.reserve(kDataFrameSize);
    for (int i = 0; i < kBlockSize; ++i) frame.push_back(byteAt(image, service, address + i));
    return frame;
}

Bytes DataBlockFrame(int address, const RadioMemory& memory) {
    return DataBlockFrame(address, memory.image, memory.service);
}

void SubstitutePassword(Bytes& frame, int address, const std::string& newPassword) {
    if (address < kPasswordFirst || address >= kPlainWriteEnd) return;
    for (int i = 0; i < static_cast<int>(kPasswordLength); ++i) {
        const int offset = kPasswordFirst + i - address;
        if (offset < 0 || offset >= kBlockSize) continue;
        const auto at = static_cast<std::size_t>(4 + offset);
        frame[at] = i < static_cast<int>(newPassword.size())
                        ? static_cast<std::uint8_t>(newPassword[static_cast<std::size_t>(i)])
                        : 0xFF;
    }
}

int FindIdentificationReply(const Bytes& bytes) {
    const int size = static_cast<int>(bytes.size());
    for (int at = size - static_cast<int>(wire::kIdentificationReplySize); at >= 0; --at) {
        const auto i = static_cast<std::size_t>(at);
        if (bytes[i] == wire::kReplyMark && bytes[i + 2] == wire::kReplyFixed2) return at;
    }
    return -1;
}

}  // namespace baldo7
