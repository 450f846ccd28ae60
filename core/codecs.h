// Small byte codecs and the keystroke filter shared by every editor.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace baldo7 {

// value * 2^n for n = 0..7 (callers only shift what fits in a byte); 0 for n >= 8.
std::uint8_t ShiftLeft(std::uint8_t value, int n);

// Two decimal digits 0..99 to packed BCD 0x00..0x99.
std::uint8_t ByteToBcd(std::uint8_t value);

// '.' when the locale's text for 0.5 contains a point, ',' otherwise. The formatter
// is the locale-aware number-to-text conversion of the caller (Qt's QLocale in the
// applications); tests inject a comma locale.
char DetectDecimalSeparator(const std::function<std::string(double)>& formatNumber);

// Key codes the filters treat specially.
constexpr int kKeyBackspace = 8;
constexpr int kKeyEnter = 13;

// The keystroke filter of the numeric and name fields, modes 1..7.
// text: the box's current text (UTF-8); hasSelection: part of it is selected;
// key: the typed character's code. Returns the key to let through (a..z upper-cased)
// or 0 when the key is refused.
int KeyFilter(const std::string& text, bool hasSelection, int key, int mode, char separator);

// Maximum text length of a key filter mode (0 for an unknown mode).
int KeyFilterMaxLength(int mode);

// Number of characters (code points) of a UTF-8 text.
std::size_t Utf8Length(const std::string& text);

}  // namespace baldo7
