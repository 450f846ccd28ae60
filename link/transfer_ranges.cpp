#include "link/transfer_ranges.h"

#include <cmath>

namespace baldo7 {

namespace {

constexpr int kPlainReadEnd = 0x0400;
constexpr int kPlainWriteEnd = 0x0300;
constexpr int kTuneStart = 0x0300;
constexpr int kTuneReadEnd = 0x1000;
constexpr int kTuneWriteEnd = 0x0400;
constexpr int kLocalMessageStart = 0x0A80;
constexpr int kLocalMessageEnd = 0x0B80;
constexpr int kStunDieStart = 0x0B80;
constexpr int kStunDieEnd = 0x0BA0;
constexpr int kSpecialStart = 0x0E10;
constexpr int kSpecialEnd = 0x0E20;
constexpr int kPasswordFirst = 0x02F0;

int tuneWriteBase(int bandLowMHz) {
    if (bandLowMHz == 400) return 0x0310;
    if (bandLowMHz == 200) return 0x0320;
    return 0x0300;
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
    if (tuneOrder && blockAddrLow < 0xC0) {
        if (blockAddrLow >= 0xA0)
            blockAddrLow = 0xC0;
        else
            blockAddrLow += 0x20;
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
