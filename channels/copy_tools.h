// Byte rules of the three copy tools the channel grid opens: channel copy, frequency
// copy (transmit frequency) and QT/DQT copy (encode tone).
#pragma once

#include <string>

#include "channels/frequency_entry.h"
#include "channels/tone_entry.h"
#include "core/document.h"

namespace baldo7 {

// Copies the 16 bytes and the scan bit of `source` onto `destination`. A copy onto
// itself, or a channel outside 1..16, changes nothing (false).
bool CopyChannel(RadioImage& image, int source, int destination);

// Stores the typed transmit frequency, held to BandLowMHz..BandTxHighMHz. An empty
// text removes the transmit frequency (bytes 4..7) and keeps the encode tone.
FrequencyCommit FrequencyCopy(Document& doc, int channel, const std::string& text);

// Stores the typed or chosen encode tone ("None"/"无" or anything ToneFromText reads),
// a CTCSS tone held to the pick list's 67.0..254.1 Hz.
ToneEntry QtDqtCopy(Document& doc, int channel, const std::string& text);

}  // namespace baldo7
