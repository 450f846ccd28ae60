#include "channels/batch_edit.h"

#include <algorithm>

#include "core/pick_lists.h"

namespace baldo7 {

namespace {

std::int64_t unitsOf(const std::string& text, char separator, int decimals) {
    return ParseScaled(text, separator, decimals).value_or(0);
}

std::int64_t clampUnits(std::int64_t units, int lowMHz, int highMHz) {
    return std::clamp(units, lowMHz * kUnitsPerMHz, highMHz * kUnitsPerMHz);
}

int nextTone(const ToneSequence& s, int k, int previous, const ToneDraw& draw) {
    if (s.random) return std::clamp(draw(), 0, kToneListLast);
    if (k == 0) return WrapToneIndex(s.start);
    return WrapToneIndex(s.ascending ? previous + s.interval : previous - s.interval);
}

void setFlag12(RadioImage& image, int channel, std::uint8_t bit, bool on) {
    std::uint8_t& b = image[ChannelStart(channel) + chan::kFlags12];
    b = static_cast<std::uint8_t>(on ? (b | bit) : (b & ~bit));
}

}  // namespace

int WrapToneIndex(int index) {
    if (index < 0) return kToneListLast;
    if (index > kToneListLast) return 0;
    return index;
}

namespace {
// A value that is not zero but has no 10 Hz unit in it.
bool belowResolution(const std::string& text, char separator, int decimals) {
    return unitsOf(text, separator, decimals) == 0 &&
           text.find_first_of("123456789") != std::string::npos;
}
}  // namespace

BatchRefusal CheckBatchEdit(const BatchEdit& e, char separator) {
    if (e.rangeStart >= kChannelCount) return BatchRefusal::RangeNotHere;
    if (e.setRx && belowResolution(e.rxStep, separator, 2)) return BatchRefusal::RxStepTooFine;
    if (e.setTx && e.txMode == TxFrequencyMode::Incept && belowResolution(e.txStep, separator, 2))
        return BatchRefusal::TxStepTooFine;
    if (e.setTx && e.txMode == TxFrequencyMode::Offset &&
        belowResolution(e.txOffset, separator, kFrequencyDecimals))
        return BatchRefusal::OffsetTooFine;
    return BatchRefusal::None;
}

int ApplyBatchEdit(RadioImage& image, const BatchEdit& e, const BatchContext& c,
                   const ToneDraw& draw) {
    if (CheckBatchEdit(e, c.separator) != BatchRefusal::None) return 0;
    const PickList tones = ToneList(c.isEnglish, c.separator);
    const auto tone = [&](int index) {
        return ToneFromListIndex(index, tones[static_cast<std::size_t>(index)], c.separator);
    };
    // Steps in kHz are 10 Hz units with two decimals.
    const std::int64_t rxStep = unitsOf(e.rxStep, c.separator, 2);
    const std::int64_t txStep = unitsOf(e.txStep, c.separator, 2);
    const std::int64_t offset = unitsOf(e.txOffset, c.separator, kFrequencyDecimals);
    std::int64_t f = 0, t = 0;
    int decode = 0, encode = 0;
    int k = 0;
    for (int n = 0; n < kChannelCount; ++n) {
        const int channel = n + 1;
        if (n < e.rangeStart || n > e.rangeEnd) {
            if (e.clearOthers) ClearChannel(image, channel);
            continue;
        }
        if (e.setRx) {
            f = k == 0 ? unitsOf(e.rxStart, c.separator, kFrequencyDecimals)
                       : (e.rxAscending ? f + rxStep : f - rxStep);
            f = clampUnits(f, c.bandLowMHz, c.bandHighMHz);
            SetRxFrequency(image, channel, UnitsToBytes(f));
        }
        if (e.setTx) {
            switch (e.txMode) {
                case TxFrequencyMode::Default:
                    t = f;
                    break;
                case TxFrequencyMode::Offset:
                    t = e.txPlus ? f + offset : f - offset;
                    break;
                case TxFrequencyMode::Incept:
                    t = k == 0 ? unitsOf(e.txStart, c.separator, kFrequencyDecimals)
                               : (e.txAscending ? t + txStep : t - txStep);
                    break;
            }
            t = clampUnits(t, c.bandLowMHz, c.bandTxHighMHz);
            SetTxFrequency(image, channel, UnitsToBytes(t));
        }
        if (e.setDecode) {
            decode = nextTone(e.decode, k, decode, draw);
            SetRxTone(image, channel, tone(decode));
        }
        if (e.setEncode) {
            if (e.encodeDefault)
                encode = e.setDecode ? decode : 0;
            else
                encode = nextTone(e.encode, k, encode, draw);
            SetTxTone(image, channel, tone(encode));
        }
        if (e.setTxPower) SetTxPower(image, channel, e.txPower);
        if (e.setSpace) SetSpacing(image, channel, e.space);
        if (e.setBusyLock) SetBusyLock(image, channel, e.busyLock);
        if (e.setScanAdd) SetScanAddBit(image, channel, e.scanAdd);
        // The busy lock bits: reverse 0x10, talk around 0x20, each on its own.
        if (e.setReverse) setFlag12(image, channel, chan::kBusyCarrier, e.reverse);
        if (e.setTalkAround) setFlag12(image, channel, chan::kBusyQtDqt, e.talkAround);
        ++k;
    }
    return k;
}

// ---- lost-focus corrections ------------------------------------------------------------

namespace {
// The leading number of a digits-only box; empty counts as 0.
long numberOf(const std::string& text) {
    long v = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') break;
        v = std::min(v * 10 + (ch - '0'), 1000000L);
    }
    return v;
}
}  // namespace

ChannelRangeText StartChannelLostFocus(const ChannelRangeText& boxes) {
    ChannelRangeText r = boxes;
    // Channels count from 1: the box shows the channel the edit starts at.
    if (numberOf(r.start) < 1) r.start = "1";
    if (numberOf(r.start) > kBatchChannels) {
        r.start = r.end = std::to_string(kBatchChannels);
    } else if (numberOf(r.end) < numberOf(r.start)) {
        r.end = r.start;
    }
    return r;
}

ChannelRangeText EndChannelLostFocus(const ChannelRangeText& boxes) {
    ChannelRangeText r = boxes;
    if (r.end.empty() || numberOf(r.end) > kBatchChannels) {
        r.end = std::to_string(kBatchChannels);
    } else if (numberOf(r.end) < 1) {
        r.start = r.end = "1";
    } else if (numberOf(r.end) < numberOf(r.start)) {
        r.start = r.end;
    }
    return r;
}

void RangeFromBoxes(const ChannelRangeText& boxes, int& start, int& end) {
    start = std::max(static_cast<int>(numberOf(boxes.start)) - 1, 0);
    end = std::max(static_cast<int>(numberOf(boxes.end)) - 1, 0);
}

std::string StepLostFocus(const std::string& text, int max, char separator) {
    if (text.empty()) return "0";
    const std::optional<double> v = ParseDecimal(text, separator);
    if (max > 0 && v && *v > max) return std::to_string(max);
    return text;
}

std::string BandEdgeText(int mhz, char separator) {
    return std::to_string(mhz) + separator + "00000";
}

std::string StartFrequencyLostFocus(const std::string& text, char separator, int lowMHz,
                                    int highMHz) {
    if (text == std::string(1, separator)) return BandEdgeText(lowMHz, separator);
    const std::int64_t units = ParseScaled(text, separator, kFrequencyDecimals).value_or(0);
    if (units > highMHz * kUnitsPerMHz) return BandEdgeText(highMHz, separator);
    if (units < lowMHz * kUnitsPerMHz) return BandEdgeText(lowMHz, separator);
    std::string r = text;
    if (r.size() < 9) {
        if (r.find(separator) == std::string::npos) r += separator;
        r.resize(9, '0');
    }
    return r;
}

}  // namespace baldo7
