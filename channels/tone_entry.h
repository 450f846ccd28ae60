// Typed CTCSS/DCS tones: the key filter of the tone boxes and the rule that turns
// whatever such a box holds into a normalised text and a tone code. The grid and
// the channel edit dialog both use it.
#pragma once

#include <string>

#include "channels/channel_record.h"

namespace baldo7 {

// Longest text the tone boxes take by typing.
constexpr int kToneTextMaxLength = 5;

// Returns the key to let through (a..z upper-cased) or 0 when it is dropped. Enter
// always passes; digits, the separator, Backspace, D, N and I pass; a box already
// holding five characters takes only Backspace unless part of it is selected.
int ToneKeyFilter(const std::string& text, bool hasSelection, int key, char separator);

struct ToneEntry {
    std::string text;  // what the box shows afterwards
    ToneCode code;
};

// Lowest CTCSS tone a box stores: any typed value down to 20 Hz, or only what the
// pick list offers (67.0 Hz and up).
enum class CtcssFloor { Typed, PickList };

// "None"/"无" -> none; "D..." -> DCS, digits forced into 0..7 ("D23" -> "D230N");
// anything else CTCSS in Hz: unreadable text -> 67.0, below the floor -> 67.0, above
// 254.1 -> 254.1, tenths rounded with halves to even ("123.25" -> "123.2"). Letters
// count in either case, so pasted "d023i" is D023I.
ToneEntry ToneFromText(const std::string& text, char separator,
                       CtcssFloor floor = CtcssFloor::Typed);

}  // namespace baldo7
