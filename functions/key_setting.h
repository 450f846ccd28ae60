// The two programmable side keys: PF1 in the low nibble of byte 306, PF2 in the
// high nibble, each an index into the key function list.
#pragma once

#include <cstdint>

#include "core/pick_lists.h"
#include "core/radio_image.h"
#include "core/texts.h"

namespace baldo7 {

namespace key_texts {
constexpr BiText kCaption{"Key Setting", "键设定"};
// Not translated.
constexpr const char* kKeyLabels[4] = {"PF1", "PF2", "PF1_1s", "PF2_1s"};
}  // namespace key_texts

constexpr int kKeyFunctionCount = 7;
constexpr int kKeyPf1 = 0;
constexpr int kKeyPf2 = 1;

// None, Monitor, Scan, Scramble, Alarm, Power, Talk Around.
const BiText& KeyFunctionText(int index);
PickList KeyFunctionList(bool isEnglish);

// The nibble of key 0 (PF1) or any other key (PF2), as stored.
int KeyNibble(std::uint8_t byte306, int key);
// The list index shown: the nibble, or 0 ("None") for 7..15, which stay in the image.
int KeyFunctionIndex(std::uint8_t byte306, int key);

// Stores `index` in the key's nibble, keeping the other key. An index outside the
// list writes nothing and returns false.
bool SetKeyFunction(RadioImage& image, int key, int index);

}  // namespace baldo7
