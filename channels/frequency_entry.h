// Committing a typed receive or transmit frequency into a channel: the one rule the
// channel grid and the channel edit dialog share. Each function writes the image and
// says what the editor shows and whether the out-of-range warning
// (texts::kFrequencyOutOfRange) must be shown.
#pragma once

#include <cstdint>
#include <string>

#include "core/document.h"

namespace baldo7 {

struct FrequencyCommit {
    // The text was outside the band (or only the separator, or not a number): warn,
    // the band limit was stored instead.
    bool warn = false;
    // The text was empty: receive commit emptied the channel, transmit commit
    // emptied the transmit side.
    bool cleared = false;
    // The channel was not in use before and received the new-channel defaults.
    bool becameInUse = false;
    // Nothing was written (transmit commit on a channel that is not in use, or a
    // channel number outside 1..16).
    bool ignored = false;
    std::string shownText;    // the committed box/cell; "" after clearing
    std::string txShownText;  // the transmit frequency after the commit; "" if absent
};

// "145" -> 145.00000 MHz; below/above the band -> the band limit with a warning; an
// empty text empties the channel. A channel that was not in use starts with the
// new-channel defaults and no tones. A blank transmit side follows the receive
// frequency, held at BandTxHighMHz.
FrequencyCommit CommitRxFrequency(Document& doc, int channel, const std::string& text);

// The same for the transmit side, clamped to BandLowMHz..BandTxHighMHz; an empty text
// clears the transmit frequency and encode tone. The encode tone is otherwise left as
// it is: the grid shows it even while the transmit side is absent.
FrequencyCommit CommitTxFrequency(Document& doc, int channel, const std::string& text);

// A typed frequency held to lowMHz..highMHz: the separator alone, text that is no
// number and values outside the limits give the nearest limit and warn.
struct ClampedFrequency {
    std::int64_t units;  // 10 Hz steps, halves to even
    bool warn;
};
ClampedFrequency ClampFrequency(const std::string& text, char separator, int lowMHz, int highMHz);

// Appends the separator when there is none, then "0" up to 9 characters.
std::string PadFrequencyText(const std::string& text, char separator);

// "480" + separator + "00000".
std::string BandLimitText(int mhz, char separator);

}  // namespace baldo7
