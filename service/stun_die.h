// The stun/die block (addr::kStunDie): two DTMF codes of up to eight digits, their
// lengths, the status, the call response type and the enable flag.
#pragma once

#include <cstdint>
#include <string>

#include "core/radio_image.h"

namespace baldo7 {

constexpr int kDtmfCodeDigits = static_cast<int>(addr::kStunCode.size());
constexpr int kDtmfCodeMinimum = 6;  // a shorter code (but not an empty one) is refused

enum class DtmfCode { Stun, Die };

struct StunDieView {
    int status = 0;   // 0 Normal, 1 Stun, 2 Die
    int ackType = 0;  // 0 Chord, 1 Ring
    bool enabled = false;
    std::string stunCode;
    std::string dieCode;
};

// `block` holds the bytes of addr::kStunDie.
StunDieView DecodeStunDie(const std::uint8_t* block);
StunDieView DecodeStunDie(const ServiceMemory& memory);

// The codes' key filter: a..z upper-cased; 0..9, A..E, Backspace and Enter pass; 0
// for a refused key.
int DtmfKeyFilter(int key);
// Pasted text as the key filter would have let it through, at most eight digits.
std::string CleanDtmfCode(const std::string& text);

// The digits of a code's text: 0..9 and A..F (a..f upper-cased), at most eight. F
// (15) cannot be typed but is shown for a stored 15, and goes back as 15.
std::string DtmfDigits(const std::string& text);
// Stores a code's digits (0..9, A..F as 10..15; the rest of its eight bytes 0) and
// its length in its nibble of addr::kDtmfCodeLengths, keeping the other code's nibble. The window
// calls it only for a box the user edited: an untouched code keeps its bytes.
void StoreDtmfCode(std::uint8_t* block, DtmfCode code, const std::string& text);
void StoreStatus(std::uint8_t* block, int index);
void StoreAckType(std::uint8_t* block, int index);
void StoreStunEnable(std::uint8_t* block, bool enabled);

// The write refuses a code of one to five digits while stun/die is enabled; digits
// are counted, not characters.
bool DtmfCodeTooShort(const std::string& text);

}  // namespace baldo7
