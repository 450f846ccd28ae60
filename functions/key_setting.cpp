#include "functions/key_setting.h"

namespace baldo7 {

namespace {
constexpr BiText kKeyFunctions[kKeyFunctionCount] = {
    {"None", "无"},    {"Monitor", "监听"},   {"Scan", "扫描"},        {"Scramble", "扰频器"},
    {"Alarm", "报警"}, {"Power", "发射功率"}, {"Talk Around", "脱网"},
};
}  // namespace

const BiText& KeyFunctionText(int index) {
    return kKeyFunctions[index >= 0 && index < kKeyFunctionCount ? index : 0];
}

PickList KeyFunctionList(bool isEnglish) {
    PickList list;
    for (const BiText& t : kKeyFunctions) list.emplace_back(t.pick(isEnglish));
    return list;
}

int KeyNibble(std::uint8_t byte306, int key) {
    return key == kKeyPf1 ? (byte306 & 0x0F) : (byte306 >> 4);
}

int KeyFunctionIndex(std::uint8_t byte306, int key) {
    const int value = KeyNibble(byte306, key);
    return value < kKeyFunctionCount ? value : 0;
}

bool SetKeyFunction(RadioImage& image, int key, int index) {
    if (index < 0 || index >= kKeyFunctionCount) return false;
    std::uint8_t& b = image[addr::kKeySet];
    if (key == kKeyPf1)
        b = static_cast<std::uint8_t>((b & 0xF0) | index);
    else
        b = static_cast<std::uint8_t>((index << 4) | (b & 0x0F));
    return true;
}

}  // namespace baldo7
