#include "channels/tone_entry.h"

#include <vector>

#include "core/codecs.h"
#include "core/pick_lists.h"
#include "core/texts.h"

namespace baldo7 {

int ToneKeyFilter(const std::string& text, bool hasSelection, int key, char separator) {
    if (key == kKeyEnter) return key;
    if (key >= 'a' && key <= 'z') key -= 32;
    const bool allowed = key == separator || (key >= '0' && key <= '9') || key == kKeyBackspace ||
                         key == 'D' || key == 'N' || key == 'I';
    if (!allowed) return 0;
    if (key != kKeyBackspace && !hasSelection &&
        Utf8Length(text) >= static_cast<std::size_t>(kToneTextMaxLength))
        return 0;
    return key;
}

namespace {

// Code points of a UTF-8 text; a stray byte counts as one character of its own.
std::vector<char32_t> codePoints(const std::string& text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t cp = extra ? (c & (0x3F >> extra)) : c;
        std::size_t j = i + 1;
        for (; extra > 0 && j < text.size() && (static_cast<unsigned char>(text[j]) & 0xC0) == 0x80;
             --extra, ++j)
            cp = (cp << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
        out.push_back(cp >= U'a' && cp <= U'z' ? cp - 32 : cp);
        i = j;
    }
    return out;
}

ToneEntry dcsFromText(const std::vector<char32_t>& chars) {
    std::string text = "D";
    int digits = 0;
    for (std::size_t pos = 1; pos <= 3; ++pos) {
        char digit = '0';
        if (pos < chars.size()) {
            const char32_t c = chars[pos];
            digit = c > U'7' ? '7' : c < U'0' ? '0' : static_cast<char>(c);
        }
        text += digit;
        digits = digits * 10 + (digit - '0');
    }
    const bool inverted = chars.size() >= 5 && chars[4] == U'I';
    text += inverted ? 'I' : 'N';
    return {text, DcsTone(digits, inverted)};
}

constexpr int kDefaultTenths = 670;
constexpr int kLowestTypedTenths = 200;
constexpr int kLowestListTenths = 670;
constexpr int kHighestTenths = 2541;

}  // namespace

ToneEntry ToneFromText(const std::string& text, char separator, CtcssFloor floor) {
    if (text == texts::kNone.en || text == texts::kNone.zh) return {text, kNoTone};
    const std::vector<char32_t> chars = codePoints(text);
    if (!chars.empty() && chars[0] == U'D') return dcsFromText(chars);

    const int lowest = floor == CtcssFloor::Typed ? kLowestTypedTenths : kLowestListTenths;
    int tenths = kDefaultTenths;
    const auto value = ParseDecimal(text, separator);
    if (value) {
        if (*value < lowest / 10.0)
            tenths = kDefaultTenths;
        else if (*value > kHighestTenths / 10.0)
            tenths = kHighestTenths;
        else
            tenths = static_cast<int>(ParseScaled(text, separator, 1).value_or(kDefaultTenths));
    }
    return {TenthsToText(tenths, separator), CtcssTone(tenths)};
}

}  // namespace baldo7
