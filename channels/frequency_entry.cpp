#include "channels/frequency_entry.h"

#include "channels/channel_record.h"

namespace baldo7 {

std::string PadFrequencyText(const std::string& text, char separator) {
    std::string out = text;
    if (out.size() < 9 && out.find(separator) == std::string::npos) out += separator;
    while (out.size() < 9) out += '0';
    return out;
}

std::string BandLimitText(int mhz, char separator) {
    return std::to_string(mhz) + separator + "00000";
}

ClampedFrequency ClampFrequency(const std::string& text, char separator, int lowMHz, int highMHz) {
    const std::int64_t low = lowMHz * kUnitsPerMHz, high = highMHz * kUnitsPerMHz;
    const auto value = ParseDecimal(text, separator);
    if (!value || *value < lowMHz) return {low, true};
    if (*value > highMHz) return {high, true};
    return {ParseScaled(text, separator, kFrequencyDecimals).value_or(low), false};
}

FrequencyCommit CommitRxFrequency(Document& doc, int channel, const std::string& text) {
    FrequencyCommit result;
    if (!IsChannelNumber(channel)) {
        result.ignored = true;
        return result;
    }
    RadioImage& image = doc.radioImage;
    const char sep = doc.DecimalSeparator;
    if (text.empty()) {
        ClearChannel(image, channel);
        result.cleared = true;
        return result;
    }
    const bool wasInUse = ChannelInUse(image, channel);
    // An editor shows a blank transmit side for a channel not in use.
    const bool txBlank = !wasInUse || !TxInUse(image, channel);

    const ClampedFrequency c = ClampFrequency(text, sep, doc.BandLowMHz, doc.BandHighMHz);
    result.warn = c.warn;
    if (!wasInUse) {
        ApplyNewChannelDefaults(image, channel);
        // The editors show None for a new channel; the bytes must agree even when the
        // unused record held something else.
        SetRxTone(image, channel, kNoTone);
        SetTxTone(image, channel, kNoTone);
        result.becameInUse = true;
    }
    const FrequencyBytes rx = UnitsToBytes(c.units);
    SetRxFrequency(image, channel, rx);
    if (txBlank) SetTxFrequency(image, channel, TxFollowingRx(c.units, doc.BandTxHighMHz));

    result.shownText = FrequencyToText(rx, sep);
    if (TxInUse(image, channel))
        result.txShownText = FrequencyToText(TxFrequencyBytes(image, channel), sep);
    return result;
}

FrequencyCommit CommitTxFrequency(Document& doc, int channel, const std::string& text) {
    FrequencyCommit result;
    if (!IsChannelNumber(channel) || !ChannelInUse(doc.radioImage, channel)) {
        result.ignored = true;
        return result;
    }
    RadioImage& image = doc.radioImage;
    const char sep = doc.DecimalSeparator;
    if (text.empty()) {
        ClearTx(image, channel);
        result.cleared = true;
        return result;
    }
    const ClampedFrequency c = ClampFrequency(text, sep, doc.BandLowMHz, doc.BandTxHighMHz);
    result.warn = c.warn;
    const FrequencyBytes tx = UnitsToBytes(c.units);
    SetTxFrequency(image, channel, tx);
    result.shownText = FrequencyToText(tx, sep);
    result.txShownText = result.shownText;
    return result;
}

}  // namespace baldo7
