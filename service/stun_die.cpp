#include "service/stun_die.h"

#include <algorithm>

#include "core/codecs.h"
#include "service/service_memory.h"

namespace baldo7 {

namespace {
// Where each part lies in the block.
constexpr std::size_t offset(std::size_t address) {
    return address - addr::kStunDie.first;
}
constexpr std::size_t kStunOffset = offset(addr::kStunCode.first);
constexpr std::size_t kDieOffset = offset(addr::kDieCode.first);
constexpr std::size_t kLengthOffset = offset(addr::kDtmfCodeLengths);
constexpr std::size_t kStatusOffset = offset(addr::kStunStatus);
constexpr std::size_t kAckTypeOffset = offset(addr::kStunAckType);
constexpr std::size_t kEnableOffset = offset(addr::kStunEnable);
static_assert(addr::kDieCode.size() == addr::kStunCode.size());
constexpr std::uint8_t kStatusBytes[3] = {0xFF, 0x55, 0xAA};
constexpr std::uint8_t kOn = 0x55;
constexpr std::uint8_t kOff = 0xFF;

std::string decodeCode(const std::uint8_t* digits, int length) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    if (length < 1 || length > kDtmfCodeDigits) return text;
    for (int i = 0; i < length; ++i) text += digits[i] < 16 ? kHex[digits[i]] : '0';
    return text;
}

std::uint8_t digitValue(char c) {
    const int v = c - 0x30;
    return static_cast<std::uint8_t>(v > 9 ? v - 7 : v);
}
}  // namespace

StunDieView DecodeStunDie(const std::uint8_t* block) {
    StunDieView v;
    const std::uint8_t status = block[kStatusOffset];
    v.status = status == 0x55 ? 1 : status == 0xAA ? 2 : 0;
    v.ackType = block[kAckTypeOffset] == kOn ? 1 : 0;
    v.enabled = block[kEnableOffset] == kOn;
    const std::uint8_t lengths = block[kLengthOffset];
    v.stunCode = decodeCode(block + kStunOffset, lengths & 0x0F);
    v.dieCode = decodeCode(block + kDieOffset, lengths >> 4);
    return v;
}

StunDieView DecodeStunDie(const ServiceMemory& memory) {
    return DecodeStunDie(ServiceBytes(memory, addr::kStunDie.first));
}

int DtmfKeyFilter(int key) {
    if (key >= 'a' && key <= 'z') key -= 32;
    const bool allowed = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'E') ||
                         key == kKeyBackspace || key == kKeyEnter;
    return allowed ? key : 0;
}

std::string CleanDtmfCode(const std::string& text) {
    std::string clean;
    for (const char c : text) {
        const int key = DtmfKeyFilter(static_cast<unsigned char>(c));
        if (key && key != kKeyBackspace && key != kKeyEnter &&
            clean.size() < static_cast<std::size_t>(kDtmfCodeDigits))
            clean += static_cast<char>(key);
    }
    return clean;
}

std::string DtmfDigits(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 32);
        if (((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) &&
            digits.size() < static_cast<std::size_t>(kDtmfCodeDigits))
            digits += c;
    }
    return digits;
}

void StoreDtmfCode(std::uint8_t* block, DtmfCode code, const std::string& text) {
    const std::string digits = DtmfDigits(text);
    const bool stun = code == DtmfCode::Stun;
    std::uint8_t* first = block + (stun ? kStunOffset : kDieOffset);
    std::fill(first, first + kDtmfCodeDigits, std::uint8_t{0});
    std::uint8_t& lengths = block[kLengthOffset];
    lengths &= stun ? 0xF0 : 0x0F;
    if (digits.empty()) return;
    for (std::size_t i = 0; i < digits.size(); ++i) first[i] = digitValue(digits[i]);
    const auto n = static_cast<std::uint8_t>(digits.size());
    lengths |= stun ? n : ShiftLeft(n, 4);
}

void StoreStatus(std::uint8_t* block, int index) {
    if (index >= 0 && index < 3) block[kStatusOffset] = kStatusBytes[index];
}

void StoreAckType(std::uint8_t* block, int index) {
    if (index == 0 || index == 1) block[kAckTypeOffset] = index ? kOn : kOff;
}

void StoreStunEnable(std::uint8_t* block, bool enabled) {
    block[kEnableOffset] = enabled ? kOn : kOff;
}

bool DtmfCodeTooShort(const std::string& text) {
    const std::size_t n = DtmfDigits(text).size();
    return n > 0 && n < static_cast<std::size_t>(kDtmfCodeMinimum);
}

}  // namespace baldo7
