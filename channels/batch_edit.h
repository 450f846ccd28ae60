// Batch channel edit: fills a range of channels in one step (frequency and tone
// sequences, one value for the other fields) and can empty the channels outside it.
// The window numbers channels 1..128 (group folded in); this radio holds 1..16 and
// the bytes past its channel table belong to other settings, so nothing beyond
// channel 16 is ever written or cleared.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "channels/channel_record.h"
#include "core/texts.h"

namespace baldo7 {

namespace batch_texts {
constexpr BiText kCaption{"Batch ChannelEdit", "信道批量编辑"};
constexpr BiText kNote{"Channel=(GroupID-1)*16+ChannelID", "信道=(组ID-1)*16+信道ID"};
constexpr BiText kRadioHolds{"This radio holds channels 1-16; channels above 16 are left alone.",
                             "本机只有信道1-16，16以上的信道不会改动。"};
// %1, %2: the range's first and last channel.
constexpr BiText kRangeNotHere{
    "Channels %1-%2 are not in this radio, which holds channels 1-16: nothing was changed.",
    "本机只有信道1-16，没有信道%1-%2：未做任何改动。"};
// %1: the box's label, %2: what it holds.
constexpr BiText kStepTooFine{
    "%1: %2 is less than 10 Hz, the smallest step a channel frequency takes. Enter 0 or at "
    "least 10 Hz; nothing was changed.",
    "%1：%2小于10 Hz（信道频率的最小步进）。请输入0或至少10 Hz；未做任何改动。"};
}  // namespace batch_texts

constexpr int kBatchChannels = 128;  // what the window numbers
constexpr int kToneListLast = 282;

// One tone side: a sequence through the tone pick list, or a random entry per channel.
struct ToneSequence {
    int start = 0;     // list index of the first channel
    int interval = 0;  // added (ASC) or taken (DESC) per channel
    bool ascending = true;
    bool random = false;
};

enum class TxFrequencyMode { Default, Offset, Incept };

// What Apply takes from the window. Texts are the boxes' own, read with `separator`.
struct BatchEdit {
    int rangeStart = 0;  // 0-based channel indices, inclusive
    int rangeEnd = kBatchChannels - 1;
    bool clearOthers = false;  // "Clear the data of other channel", enabled and ticked

    bool setRx = true, setTx = true, setDecode = true, setEncode = true, setScanAdd = true,
         setReverse = true, setTalkAround = true, setTxPower = true, setSpace = true,
         setBusyLock = true;

    std::string rxStart;       // MHz
    std::string rxStep = "0";  // kHz
    bool rxAscending = true;
    TxFrequencyMode txMode = TxFrequencyMode::Default;
    std::string txOffset = "0.00000";  // MHz
    bool txPlus = true;
    std::string txStart;       // MHz
    std::string txStep = "0";  // kHz
    bool txAscending = true;

    ToneSequence decode;
    ToneSequence encode;
    bool encodeDefault = true;  // encode = this channel's decode entry

    int txPower = 0, space = 0, busyLock = 0;
    bool scanAdd = false, reverse = false, talkAround = false;
};

// The band and text conventions Apply works in.
struct BatchContext {
    char separator = '.';
    int bandLowMHz = 0, bandHighMHz = 0, bandTxHighMHz = 0;
    bool isEnglish = true;
};

// A uniform draw over the tone list, 0..282.
using ToneDraw = std::function<int()>;

// Why Apply refuses an edit (it then changes nothing): a range wholly above the
// channels this radio holds (clearing "the others" would empty every channel), or a
// step or offset that is not zero but rounds to zero at the 10 Hz the frequencies
// are stored in (every channel would get the same frequency). Only the fields that
// will be written are checked.
enum class BatchRefusal { None, RangeNotHere, RxStepTooFine, TxStepTooFine, OffsetTooFine };
BatchRefusal CheckBatchEdit(const BatchEdit& edit, char separator);

// Applies to channels 1..16 only; returns how many channels of the range exist here.
// A refused edit (CheckBatchEdit) writes nothing and returns 0.
int ApplyBatchEdit(RadioImage& image, const BatchEdit& edit, const BatchContext& context,
                   const ToneDraw& draw);

// Tone list index after one step: below 0 becomes 282, above 282 becomes 0.
int WrapToneIndex(int index);

// ---- the boxes' lost-focus corrections ----------------------------------------------

struct ChannelRangeText {
    std::string start, end;
};
ChannelRangeText StartChannelLostFocus(const ChannelRangeText& boxes);
ChannelRangeText EndChannelLostFocus(const ChannelRangeText& boxes);
// The 0-based range the two boxes give.
void RangeFromBoxes(const ChannelRangeText& boxes, int& start, int& end);

// Empty becomes "0"; a value above `max` becomes `max` (0: no limit).
std::string StepLostFocus(const std::string& text, int max, char separator);
// A start frequency: the separator alone gives the low limit, a value outside
// low..high the nearer limit (each as "<MHz><sep>00000"); a shorter text is padded to
// 9 characters with the separator and zeros.
std::string StartFrequencyLostFocus(const std::string& text, char separator, int lowMHz,
                                    int highMHz);
// "<MHz><sep>00000".
std::string BandEdgeText(int mhz, char separator);

}  // namespace baldo7
