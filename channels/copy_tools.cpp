#include "channels/copy_tools.h"

#include "channels/channel_record.h"

namespace baldo7 {

bool CopyChannel(RadioImage& image, int source, int destination) {
    if (source == destination || !IsChannelNumber(source) || !IsChannelNumber(destination))
        return false;
    const std::size_t from = ChannelStart(source), to = ChannelStart(destination);
    for (std::size_t i = 0; i < kChannelRecordSize; ++i) image[to + i] = image[from + i];
    SetScanAddBit(image, destination, GetScanAddBit(image, source));
    return true;
}

FrequencyCommit FrequencyCopy(Document& doc, int channel, const std::string& text) {
    FrequencyCommit result;
    if (!IsChannelNumber(channel)) {
        result.ignored = true;
        return result;
    }
    if (text.empty()) {
        SetTxFrequency(doc.radioImage, channel, {0xFF, 0xFF, 0xFF, 0xFF});
        result.cleared = true;
        return result;
    }
    const ClampedFrequency c =
        ClampFrequency(text, doc.DecimalSeparator, doc.BandLowMHz, doc.BandTxHighMHz);
    const FrequencyBytes tx = UnitsToBytes(c.units);
    SetTxFrequency(doc.radioImage, channel, tx);
    result.warn = c.warn;
    result.shownText = FrequencyToText(tx, doc.DecimalSeparator);
    result.txShownText = result.shownText;
    return result;
}

ToneEntry QtDqtCopy(Document& doc, int channel, const std::string& text) {
    const ToneEntry entry = ToneFromText(text, doc.DecimalSeparator, CtcssFloor::PickList);
    if (IsChannelNumber(channel)) SetTxTone(doc.radioImage, channel, entry.code);
    return entry;
}

}  // namespace baldo7
