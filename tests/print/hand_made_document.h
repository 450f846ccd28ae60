// A document made by hand for the report tests: channels of every kind (tones of
// both families, absent transmit side, empty and not-quite-in-use records), function
// values that need the decode's repair, both keys and a two-line message. The
// expected texts are what the editors show for these bytes.
#pragma once

#include <string>
#include <vector>

#include "channels/channel_record.h"
#include "core/document.h"
#include "functions/embedded_message.h"

namespace baldo7 {

inline void MakeHandMade(Document& doc) {
    RadioImage& im = doc.radioImage;
    for (int ch = 1; ch <= kChannelCount; ++ch) ClearChannel(im, ch);
    auto channel = [&](int ch, double rx, double tx, ToneCode dec, ToneCode enc) {
        SetRxFrequency(im, ch, FrequencyToBytes(rx));
        ApplyNewChannelDefaults(im, ch);
        if (tx > 0) SetTxFrequency(im, ch, FrequencyToBytes(tx));
        SetRxTone(im, ch, dec);
        if (tx > 0) SetTxTone(im, ch, enc);
    };
    channel(1, 145.125, 145.725, CtcssTone(670), DcsTone(23, false));
    channel(2, 146.52, 146.52, DcsTone(754, true), CtcssTone(885));
    SetTxPower(im, 2, 0);
    SetSpacing(im, 2, 0);
    SetBusyLock(im, 2, 1);
    SetScrambleType(im, 2, 3);
    SetScrambleOn(im, 2, true);
    SetCompand(im, 2, true);
    doc.SpecialCodeSupported = true;
    SetCdcssMode(doc, 2, 1);
    ClearScanAddBit(im, 2);
    channel(4, 150.0, 0, kNoTone, kNoTone);
    // 49.99999 MHz: the record reads as empty whatever else it holds.
    channel(5, 60.0, 60.0, CtcssTone(670), kNoTone);
    SetRxFrequency(im, 5, FrequencyToBytes(49.99999));
    channel(16, 173.9975, 170.0, CtcssTone(2541), DcsTone(17, false));
    SetBusyLock(im, 16, 2);

    im[addr::kOptionBits] = 0x01 | 0x08 | 0x20 | 0x80;  // save, English, scramble, hopping
    im[304] = 41;                                       // out of range: shown as 180
    im[305] = 10;
    im[308] = 0;
    im[addr::kKeySet] = 0x61;  // PF1 Monitor, PF2 Talk Around
    SetEmbeddedMessage(im, {"HELLO WORLD", "<&> 123"});
    im[addr::kModelDigit] = 0x32;  // VHF 136-174MHz, as the tests' limits say
    im[addr::kBandCode] = 0x01;
}

// The English channel table of MakeHandMade, one row per channel.
inline std::vector<std::vector<std::string>> HandMadeChannelRows() {
    std::vector<std::vector<std::string>> rows;
    for (int ch = 1; ch <= 16; ++ch)
        rows.push_back({std::to_string(ch), "", "", "", "", "", "", "", "", "", "", "", ""});
    rows[0] = {"1",         "145.12500", "145.72500", "67.0", "D023N", "High",       "Add",
               "25K(Wide)", "None",      "1",         "Off",  "Off",   "Normal Code"};
    rows[1] = {"2",   "146.52000", "146.52000",     "D754I",   "88.5",
               "Low", "Delete",    "12.5K(Narrow)", "Carrier", "4",
               "On",  "On",        "Special Code"};
    rows[3] = {"4",         "150.00000", "",  "None", "None", "High",       "Add",
               "25K(Wide)", "None",      "1", "Off",  "Off",  "Normal Code"};
    rows[15] = {"16",        "173.99750", "170.00000", "254.1", "D017N", "High",       "Add",
                "25K(Wide)", "QT/DQT",    "1",         "Off",   "Off",   "Normal Code"};
    return rows;
}

}  // namespace baldo7
