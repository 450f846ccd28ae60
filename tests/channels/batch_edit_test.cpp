#include "channels/batch_edit.h"

#include <gtest/gtest.h>

#include "core/pick_lists.h"

using namespace baldo7;

namespace {

const BatchContext kVhf{'.', 136, 174, 174, true};

// Only the fields a case names are set.
BatchEdit nothingSet() {
    BatchEdit e;
    e.setRx = e.setTx = e.setDecode = e.setEncode = e.setScanAdd = e.setReverse = e.setTalkAround =
        e.setTxPower = e.setSpace = e.setBusyLock = false;
    return e;
}

RadioImage blank() {
    RadioImage image;
    image.fill(0xFF);
    return image;
}

std::string rx(const RadioImage& image, int channel) {
    return FrequencyToText(RxFrequencyBytes(image, channel), '.');
}
std::string tx(const RadioImage& image, int channel) {
    return FrequencyToText(TxFrequencyBytes(image, channel), '.');
}

const ToneDraw kNoDraw = [] { return 0; };

}  // namespace

TEST(BatchEdit, FrequencySequences) {
    struct Case {
        const char* name;
        char sep;
        int start, end;
        const char *rxStart, *rxStep;
        bool asc;
        TxFrequencyMode txMode;
        const char *txOffset, *txStart, *txStep;
        bool txPlusOrAsc;
        std::vector<std::pair<std::string, std::string>> channels;  // from `start`
    } cases[] = {
        {"ASC",
         '.',
         0,
         3,
         "146.00000",
         "12.5",
         true,
         TxFrequencyMode::Default,
         "0",
         "",
         "0",
         true,
         {{"146.00000", "146.00000"},
          {"146.01250", "146.01250"},
          {"146.02500", "146.02500"},
          {"146.03750", "146.03750"}}},
        {"DESC below the band",
         '.',
         0,
         2,
         "136.01000",
         "7.5",
         false,
         TxFrequencyMode::Offset,
         "0.6",
         "",
         "0",
         true,
         {{"136.01000", "136.61000"}, {"136.00250", "136.60250"}, {"136.00000", "136.60000"}}},
        {"comma, offset minus",
         ',',
         4,
         5,
         "150,00000",
         "25",
         true,
         TxFrequencyMode::Offset,
         "5,5",
         "",
         "0",
         false,
         {{"150.00000", "144.50000"}, {"150.02500", "144.52500"}}},
        {"incept DESC",
         '.',
         14,
         15,
         "170.00000",
         "0",
         true,
         TxFrequencyMode::Incept,
         "0",
         "174.00000",
         "1000",
         false,
         {{"170.00000", "174.00000"}, {"170.00000", "173.00000"}}},
        {"ASC past the top",
         '.',
         0,
         1,
         "173.99000",
         "1000",
         true,
         TxFrequencyMode::Incept,
         "0",
         "174.00000",
         "1000",
         true,
         {{"173.99000", "174.00000"}, {"174.00000", "174.00000"}}},
    };
    for (const Case& c : cases) {
        RadioImage image = blank();
        BatchEdit e = nothingSet();
        e.setRx = e.setTx = true;
        e.rangeStart = c.start;
        e.rangeEnd = c.end;
        e.rxStart = c.rxStart;
        e.rxStep = c.rxStep;
        e.rxAscending = c.asc;
        e.txMode = c.txMode;
        e.txOffset = c.txOffset;
        e.txPlus = c.txPlusOrAsc;
        e.txStart = c.txStart;
        e.txStep = c.txStep;
        e.txAscending = c.txPlusOrAsc;
        BatchContext ctx = kVhf;
        ctx.separator = c.sep;
        ApplyBatchEdit(image, e, ctx, kNoDraw);
        for (std::size_t i = 0; i < c.channels.size(); ++i) {
            const int ch = c.start + 1 + static_cast<int>(i);
            EXPECT_EQ(rx(image, ch), c.channels[i].first) << c.name << " " << ch;
            EXPECT_EQ(tx(image, ch), c.channels[i].second) << c.name << " " << ch;
        }
    }
    // Transmit Default while the receive side is not being set: the low band edge.
    RadioImage image = blank();
    BatchEdit e = nothingSet();
    e.setTx = true;
    e.rangeEnd = 0;
    ApplyBatchEdit(image, e, kVhf, kNoDraw);
    EXPECT_EQ(tx(image, 1), "136.00000");
    EXPECT_EQ(RxFrequencyBytes(image, 1), (FrequencyBytes{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(BatchEdit, ToneSequencesWrapAndEncodeFollowsDecode) {
    const PickList tones = ToneList(true, '.');
    struct Case {
        const char* name;
        ToneSequence decode;
        bool setDecode;
        bool encodeDefault;
        ToneSequence encode;
        std::vector<int> decodes, encodes;  // list indices of channels 1..
    } cases[] = {
        {"ASC past the end", {282, 1, true, false}, true, true, {}, {282, 0, 1}, {282, 0, 1}},
        {"DESC past the start",
         {1, 2, false, false},
         true,
         false,
         {5, 3, true, false},
         {1, 282, 280},
         {5, 8, 11}},
        {"big step wraps to 0",
         {280, 5, true, false},
         true,
         false,
         {0, 99, false, false},
         {280, 0, 5},
         {0, 282, 183}},
        {"encode default, decode not set", {}, false, true, {9, 1, true, false}, {}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        RadioImage image = blank();
        BatchEdit e = nothingSet();
        e.rangeEnd = 2;
        e.setDecode = c.setDecode;
        e.setEncode = true;
        e.decode = c.decode;
        e.encode = c.encode;
        e.encodeDefault = c.encodeDefault;
        ApplyBatchEdit(image, e, kVhf, kNoDraw);
        for (int i = 0; i < 3; ++i) {
            if (!c.decodes.empty()) {
                EXPECT_EQ(ToneToText(RxTone(image, i + 1), true, '.'), tones[c.decodes[i]])
                    << c.name << " " << i;
            }
            EXPECT_EQ(ToneToText(TxTone(image, i + 1), true, '.'), tones[c.encodes[i]])
                << c.name << " " << i;
        }
    }
}

TEST(BatchEdit, RandomTonesComeFromTheDraw) {
    std::vector<int> draws = {17, 282, 0, 140};
    std::size_t next = 0;
    const ToneDraw draw = [&] { return draws[next++]; };
    RadioImage image = blank();
    BatchEdit e = nothingSet();
    e.rangeEnd = 1;
    e.setDecode = e.setEncode = true;
    e.decode.random = true;
    e.encodeDefault = false;
    e.encode.random = true;
    ApplyBatchEdit(image, e, kVhf, draw);
    const PickList tones = ToneList(true, '.');
    EXPECT_EQ(next, 4u);
    EXPECT_EQ(ToneToText(RxTone(image, 1), true, '.'), tones[17]);
    EXPECT_EQ(ToneToText(TxTone(image, 1), true, '.'), tones[282]);
    EXPECT_EQ(ToneToText(RxTone(image, 2), true, '.'), "None");
    EXPECT_EQ(ToneToText(TxTone(image, 2), true, '.'), tones[140]);
}

TEST(BatchEdit, FlagsAreReadModifyWriteAndOnlyTickedFieldsChange) {
    RadioImage image = blank();
    const std::size_t at = ChannelStart(2);
    image[at + chan::kFlags12] = 0x47;  // compander, scramble type 7
    image[at + chan::kFlags13] = 0x10;
    BatchEdit e = nothingSet();
    e.rangeStart = e.rangeEnd = 1;
    e.setTxPower = e.setSpace = e.setBusyLock = e.setScanAdd = e.setReverse = e.setTalkAround =
        true;
    e.txPower = 1;
    e.space = 1;
    e.busyLock = 2;  // QT/DQT 0x20
    e.scanAdd = true;
    e.reverse = true;
    e.talkAround = false;
    ApplyBatchEdit(image, e, kVhf, kNoDraw);
    EXPECT_EQ(image[at + chan::kFlags12], 0x47 | 0x08 | 0x10);
    EXPECT_EQ(image[at + chan::kFlags13], 0x11);
    EXPECT_TRUE(GetScanAddBit(image, 2));
    e.reverse = e.talkAround = true;
    e.scanAdd = false;
    ApplyBatchEdit(image, e, kVhf, kNoDraw);
    EXPECT_EQ(image[at + chan::kFlags12], 0x47 | 0x08 | 0x30);
    EXPECT_FALSE(GetScanAddBit(image, 2));
    // Frequencies and tones were not ticked: still empty.
    for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(image[at + i], 0xFF) << i;
}

TEST(BatchEdit, LostFocusCorrections) {
    struct Range {
        bool start;
        ChannelRangeText in, out;
    } ranges[] = {
        {true, {"200", "5"}, {"128", "128"}},
        {true, {"", "5"}, {"1", "5"}},
        {true, {"9", "5"}, {"9", "9"}},
        {false, {"9", "5"}, {"5", "5"}},
        {false, {"3", ""}, {"3", "128"}},
        {false, {"3", "300"}, {"3", "128"}},
        {false, {"3", "16"}, {"3", "16"}},
        // Channel 0 is shown as the channel used.
        {true, {"0", "5"}, {"1", "5"}},
        {true, {"000", "0"}, {"1", "1"}},
        {false, {"3", "0"}, {"1", "1"}},
    };
    for (const Range& r : ranges) {
        const ChannelRangeText got =
            r.start ? StartChannelLostFocus(r.in) : EndChannelLostFocus(r.in);
        EXPECT_EQ(got.start, r.out.start) << r.in.start << "/" << r.in.end;
        EXPECT_EQ(got.end, r.out.end) << r.in.start << "/" << r.in.end;
    }
    int start = 0, end = 0;
    RangeFromBoxes({"10", "128"}, start, end);
    EXPECT_EQ(start, 9);
    EXPECT_EQ(end, 127);

    struct Freq {
        const char* in;
        char sep;
        const char* out;
    } freqs[] = {
        {".", '.', "136.00000"},       {",", ',', "136,00000"},   {"180", '.', "174.00000"},
        {"100.5", '.', "136.00000"},   {"146", '.', "146.00000"}, {"146.1", '.', "146.10000"},
        {"146,125", ',', "146,12500"}, {"", '.', "136.00000"},    {"150.12345", '.', "150.12345"}};
    for (const Freq& f : freqs)
        EXPECT_EQ(StartFrequencyLostFocus(f.in, f.sep, 136, 174), f.out) << f.in;

    EXPECT_EQ(StepLostFocus("", 10000, '.'), "0");
    EXPECT_EQ(StepLostFocus("20000", 10000, '.'), "10000");
    EXPECT_EQ(StepLostFocus("1000.5", 1000, '.'), "1000");
    EXPECT_EQ(StepLostFocus("12,5", 1000, ','), "12,5");
    EXPECT_EQ(StepLostFocus("99", 0, '.'), "99");
}

// What Apply refuses changes nothing at all: a range of channels this radio does
// not hold (whatever "clear the others" says), and a step or offset finer than the
// 10 Hz the frequencies are stored in. Unset fields and other modes are not checked.
TEST(BatchEdit, RefusedEditsChangeNothing) {
    struct Case {
        const char* name;
        std::function<void(BatchEdit&)> set;
        BatchRefusal refusal;
    } cases[] = {
        {"range 17-128, clearing", [](BatchEdit& e) { e.rangeStart = 16, e.clearOthers = true; },
         BatchRefusal::RangeNotHere},
        {"range 100-100", [](BatchEdit& e) { e.rangeStart = e.rangeEnd = 99; },
         BatchRefusal::RangeNotHere},
        {"range 16-128", [](BatchEdit& e) { e.rangeStart = 15, e.clearOthers = true; },
         BatchRefusal::None},
        {"rx 0.005", [](BatchEdit& e) { e.setRx = true, e.rxStep = "0.005"; },
         BatchRefusal::RxStepTooFine},
        {"rx 0.00999", [](BatchEdit& e) { e.setRx = true, e.rxStep = "0.00999"; },
         BatchRefusal::None},  // rounds to 10 Hz
        {"rx 0.000", [](BatchEdit& e) { e.setRx = true, e.rxStep = "0.000"; }, BatchRefusal::None},
        {"rx not set", [](BatchEdit& e) { e.rxStep = "0.001"; }, BatchRefusal::None},
        {"tx incept 0.004",
         [](BatchEdit& e) {
             e.setTx = true, e.txMode = TxFrequencyMode::Incept, e.txStep = "0.004";
         },
         BatchRefusal::TxStepTooFine},
        {"tx step in default mode", [](BatchEdit& e) { e.setTx = true, e.txStep = "0.004"; },
         BatchRefusal::None},
        {"offset 0.000001",
         [](BatchEdit& e) {
             e.setTx = true, e.txMode = TxFrequencyMode::Offset, e.txOffset = "0.000001";
         },
         BatchRefusal::OffsetTooFine},
        {"offset 0.00001",
         [](BatchEdit& e) {
             e.setTx = true, e.txMode = TxFrequencyMode::Offset, e.txOffset = "0.00001";
         },
         BatchRefusal::None},
    };
    for (const Case& c : cases) {
        BatchEdit e = nothingSet();
        e.rxStart = e.txStart = "146.00000";
        e.rangeStart = 0;
        e.rangeEnd = kBatchChannels - 1;
        c.set(e);
        EXPECT_EQ(CheckBatchEdit(e, '.'), c.refusal) << c.name;
        RadioImage image = blank();
        SetRxFrequency(image, 3, UnitsToBytes(14500000));
        const RadioImage before = image;
        const int applied = ApplyBatchEdit(image, e, kVhf, kNoDraw);
        if (c.refusal == BatchRefusal::None) continue;
        EXPECT_EQ(applied, 0) << c.name;
        EXPECT_TRUE(image == before) << c.name;
    }
}
