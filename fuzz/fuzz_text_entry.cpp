// Any text typed or pasted into the entry fields: the tone boxes, the frequency boxes
// (committed into a channel of any band) and the key filter of every mode. Checked:
// a tone's shown text reads back as the same tone; a frequency commit writes only
// its channel's record and scan bit, never stores a frequency outside the band and
// never leaves a committed channel reading as empty; a filter lets a key through
// unchanged, upper-cased or not at all, and never past the field's length.
#include <string>

#include "channels/channel_record.h"
#include "channels/frequency_entry.h"
#include "channels/tone_entry.h"
#include "core/codecs.h"
#include "core/model_band.h"
#include "fuzz/fuzz_check.h"

using namespace baldo7;

namespace {

void checkTones(const std::string& text, char separator) {
    for (const CtcssFloor floor : {CtcssFloor::Typed, CtcssFloor::PickList}) {
        const ToneEntry tone = ToneFromText(text, separator, floor);
        const ToneEntry again = ToneFromText(tone.text, separator, floor);
        FUZZ_CHECK(again.text == tone.text && again.code == tone.code);
    }
}

void checkKeyFilters(const std::string& text, bool selection, int key, char separator) {
    const auto allowed = [key](int got) {
        return got == 0 || got == key || (key >= 'a' && key <= 'z' && got == key - 32);
    };
    FUZZ_CHECK(allowed(ToneKeyFilter(text, selection, key, separator)));
    for (int mode = 1; mode <= 7; ++mode) {
        const int got = KeyFilter(text, selection, key, mode, separator);
        FUZZ_CHECK(allowed(got));
        if (got != 0 && got != kKeyBackspace && got != kKeyEnter && !selection)
            FUZZ_CHECK(Utf8Length(text) < static_cast<std::size_t>(KeyFilterMaxLength(mode)));
    }
}

Document documentForBand(std::uint8_t pick, char separator) {
    Document doc;
    doc.DecimalSeparator = separator;
    doc.radioImage.fill(0xFF);
    const auto& rows = BandRows(pick & 0x80 ? Model::UHF : Model::VHF);
    const BandRow& row = rows[pick % rows.size()];
    WriteModelBytes(doc.radioImage, RebuildModelBytes(row.highMHz, row.lowMHz));
    AnalyseModel(doc);
    if (pick & 0x40) ApplyBandExtension(doc, true);
    return doc;
}

// Only the channel's 16 bytes and its scan bit may change.
void checkOnlyChannelChanged(const RadioImage& before, const RadioImage& after, int channel) {
    const ScanBitLocation scan = ScanAddBit(channel);
    for (std::size_t a = 0; a < before.size(); ++a) {
        if (a >= ChannelStart(channel) && a < ChannelStart(channel) + 16) continue;
        if (a == scan.byteAddress) {
            FUZZ_CHECK(((before[a] ^ after[a]) & ~scan.mask) == 0);
            continue;
        }
        FUZZ_CHECK(before[a] == after[a]);
    }
}

void checkInBand(const std::string& shown, char separator, int lowMHz, int highMHz) {
    FUZZ_CHECK(!ClampFrequency(shown, separator, lowMHz, highMHz).warn);
}

void checkFrequencies(const std::string& text, char separator, std::uint8_t band, int channel) {
    Document doc = documentForBand(band, separator);
    const ClampedFrequency clamped =
        ClampFrequency(text, separator, doc.BandLowMHz, doc.BandHighMHz);
    FUZZ_CHECK(clamped.units >= doc.BandLowMHz * 100000LL &&
               clamped.units <= doc.BandHighMHz * 100000LL);

    RadioImage before = doc.radioImage;
    const FrequencyCommit rx = CommitRxFrequency(doc, channel, text);
    const bool real = channel >= 1 && channel <= kChannelCount;
    if (!real) {
        FUZZ_CHECK(rx.ignored && doc.radioImage == before);
        return;
    }
    checkOnlyChannelChanged(before, doc.radioImage, channel);
    ChannelView view = DecodeChannel(doc.radioImage, channel, true, separator);
    FUZZ_CHECK(view.inUse == !rx.cleared);
    if (view.inUse) checkInBand(view.rxText, separator, doc.BandLowMHz, doc.BandHighMHz);

    before = doc.radioImage;
    const FrequencyCommit tx = CommitTxFrequency(doc, channel, text);
    checkOnlyChannelChanged(before, doc.radioImage, channel);
    view = DecodeChannel(doc.radioImage, channel, true, separator);
    FUZZ_CHECK(view.inUse == !rx.cleared);
    if (view.txInUse) checkInBand(view.txText, separator, doc.BandLowMHz, doc.BandTxHighMHz);
    FUZZ_CHECK(!tx.ignored || !view.inUse);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const char separator = data[0] & 1 ? ',' : '.';
    const bool selection = data[0] & 2;
    const int key = data[1];
    const std::uint8_t band = data[2];
    const int channel = data[3] % (kChannelCount + 2);  // 0 and 17 are no channels
    const std::string text(reinterpret_cast<const char*>(data + 4), size - 4);
    checkTones(text, separator);
    checkKeyFilters(text, selection, key, separator);
    checkFrequencies(text, separator, band, channel);
    return 0;
}
