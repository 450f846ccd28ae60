#include "core/codecs.h"

namespace baldo7 {

std::uint8_t ShiftLeft(std::uint8_t value, int n) {
    if (n <= 0) return value;
    if (n >= 8) return 0;
    unsigned result = value;
    for (int i = 0; i < n; ++i) result = (result * 2) & 0xFFFF;
    return static_cast<std::uint8_t>(result & 0xFF);
}

std::uint8_t ByteToBcd(std::uint8_t value) {
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

char DetectDecimalSeparator(const std::function<std::string(double)>& formatNumber) {
    return formatNumber(0.5).find('.') != std::string::npos ? '.' : ',';
}

std::size_t Utf8Length(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

int KeyFilterMaxLength(int mode) {
    switch (mode) {
        case 1:
            return 9;
        case 2:
            return 8;
        case 3:
            return 6;
        case 4:
            return 3;
        case 5:
            return 2;
        case 6:
            return 2;
        case 7:
            return 3;
        default:
            return 0;
    }
}

static bool isDigit(int key) {
    return key >= '0' && key <= '9';
}

static bool allowedInMode(int key, int mode, char separator) {
    switch (mode) {
        case 1:
        case 2:
            return isDigit(key) || key == separator;
        case 3:
            return (key >= 'A' && key <= 'Z') || isDigit(key) || key == '[' || key == ']' ||
                   key == ' ' || key == '=' || key == '+' || key == '-' || key == '_' ||
                   key == '*' || key == '/';
        case 4:
        case 5:
        case 6:
            return isDigit(key);
        case 7:
            return key >= '1' && key <= '9';
        default:
            return false;
    }
}

int KeyFilter(const std::string& text, bool hasSelection, int key, int mode, char separator) {
    const int maxLength = KeyFilterMaxLength(mode);
    if (key == separator && text.find(separator) != std::string::npos) return 0;
    if (key >= 'a' && key <= 'z') key -= 32;
    const bool control = key == kKeyBackspace || key == kKeyEnter;
    if (!control && !allowedInMode(key, mode, separator)) return 0;
    if (!control && !hasSelection && Utf8Length(text) >= static_cast<std::size_t>(maxLength))
        return 0;
    return key;
}

}  // namespace baldo7
