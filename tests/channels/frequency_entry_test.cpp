#include "channels/frequency_entry.h"

#include <gtest/gtest.h>

#include "channels/channel_record.h"
#include "core/model_band.h"

using namespace baldo7;

namespace {
Document uhfDocument(char sep = '.') {
    Document doc;
    doc.radioImage.fill(0xFF);
    doc.radioImage[addr::kScanAddBitmap] = 0;
    doc.radioImage[addr::kScanAddBitmap + 1] = 0;
    doc.DecimalSeparator = sep;
    doc.BandLowMHz = 400;
    doc.BandHighMHz = 480;
    doc.BandTxHighMHz = 480;
    return doc;
}
std::array<std::uint8_t, 16> record(const Document& doc, int channel) {
    std::array<std::uint8_t, 16> r{};
    for (std::size_t i = 0; i < 16; ++i) r[i] = doc.radioImage[ChannelStart(channel) + i];
    return r;
}
}  // namespace

TEST(CommitRx, ClampsPadsAndWarns) {
    struct Case {
        const char* typed;
        char sep;
        bool warn;
        const char* shown;
        FrequencyBytes bytes;
    } cases[] = {
        {"440", '.', false, "440.00000", {0x00, 0x00, 0x00, 0x44}},
        {"445.125", '.', false, "445.12500", {0x00, 0x25, 0x51, 0x44}},
        {"445,125", ',', false, "445,12500", {0x00, 0x25, 0x51, 0x44}},
        {"600", '.', true, "480.00000", {0x00, 0x00, 0x00, 0x48}},
        {"480.00001", '.', true, "480.00000", {0x00, 0x00, 0x00, 0x48}},
        {"145", '.', true, "400.00000", {0x00, 0x00, 0x00, 0x40}},
        {".", '.', true, "400.00000", {0x00, 0x00, 0x00, 0x40}},
        {"445.1", ',', true, "400,00000", {0x00, 0x00, 0x00, 0x40}},  // pasted, no number
        {"440.000005", '.', false, "440.00000", {0x00, 0x00, 0x00, 0x44}},
    };
    for (const Case& c : cases) {
        Document doc = uhfDocument(c.sep);
        const FrequencyCommit r = CommitRxFrequency(doc, 7, c.typed);
        EXPECT_EQ(r.warn, c.warn) << c.typed;
        EXPECT_EQ(r.shownText, c.shown) << c.typed;
        EXPECT_EQ(RxFrequencyBytes(doc.radioImage, 7), c.bytes) << c.typed;
        EXPECT_EQ(r.txShownText, c.shown) << c.typed;
    }
}

TEST(CommitRx, NewChannelGetsDefaultsAndTxFollows) {
    Document doc = uhfDocument();
    doc.BandHighMHz = 520;
    // Leftovers of an unused record: flags, tones and reserved bytes.
    auto& img = doc.radioImage;
    const std::size_t at = ChannelStart(9);
    img[at + 8] = 0x00;
    img[at + 9] = 0x00;
    img[at + 12] = 0x77;
    img[at + 13] = 0xE0;
    img[at + 14] = 0x12;

    const FrequencyCommit r = CommitRxFrequency(doc, 9, "500");
    EXPECT_TRUE(r.becameInUse);
    EXPECT_FALSE(r.warn);
    EXPECT_EQ(r.shownText, "500.00000");
    EXPECT_EQ(r.txShownText, "480.00000");
    EXPECT_EQ(record(doc, 9),
              (std::array<std::uint8_t, 16>{0x00, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0x48, 0xFF,
                                            0xFF, 0xFF, 0xFF, 0x08, 0x01, 0x12, 0xFF}));
    EXPECT_TRUE(GetScanAddBit(img, 9));

    // A channel in use keeps its flags, tones, scan bit and transmit frequency.
    img[at + 12] = 0x4A;
    img[at + 8] = 0x75;
    img[at + 9] = 0x03;
    ClearScanAddBit(img, 9);
    const FrequencyCommit again = CommitRxFrequency(doc, 9, "450.5");
    EXPECT_FALSE(again.becameInUse);
    EXPECT_EQ(again.txShownText, "480.00000");
    EXPECT_EQ(img[at + 12], 0x4A);
    EXPECT_EQ(RxTone(img, 9), (ToneCode{0x75, 0x03}));
    EXPECT_FALSE(GetScanAddBit(img, 9));

    // With the transmit side cleared, the next receive commit fills it again.
    ClearTx(img, 9);
    EXPECT_EQ(CommitRxFrequency(doc, 9, "470").txShownText, "470.00000");
}

TEST(CommitTx, NeedsAChannelAndKeepsTheEncodeTone) {
    Document doc = uhfDocument();
    doc.BandHighMHz = 520;
    EXPECT_TRUE(CommitTxFrequency(doc, 4, "440").ignored);  // channel not in use
    for (std::uint8_t b : record(doc, 4)) EXPECT_EQ(b, 0xFF);

    CommitRxFrequency(doc, 4, "440");
    FrequencyCommit r = CommitTxFrequency(doc, 4, "399.99999");
    EXPECT_TRUE(r.warn);
    EXPECT_EQ(r.shownText, "400.00000");
    ClearTx(doc.radioImage, 4);

    // A transmit side that was absent keeps the encode tone its bytes hold: the grid
    // shows it all along.
    SetTxTone(doc.radioImage, 4, {0x75, 0x03});
    r = CommitTxFrequency(doc, 4, "441.5");
    EXPECT_FALSE(r.warn);
    EXPECT_EQ(r.shownText, "441.50000");
    EXPECT_EQ(TxTone(doc.radioImage, 4), (ToneCode{0x75, 0x03}));
}

// Whatever a band lets the user type must read back as a channel, not as an empty one.
TEST(CommitRx, EveryBandLimitReadsAsAChannel) {
    for (Model model : {Model::VHF, Model::UHF}) {
        for (const BandRow& band : BandRows(model)) {
            Document doc = uhfDocument();
            doc.BandLowMHz = band.lowMHz;
            doc.BandHighMHz = band.highMHz;
            doc.BandTxHighMHz = band.highMHz;
            for (int mhz : {band.lowMHz, band.highMHz, band.highMHz - 5}) {
                const std::string typed = std::to_string(mhz);
                const FrequencyCommit r = CommitRxFrequency(doc, 2, typed);
                EXPECT_FALSE(r.warn) << band.text << " " << typed;
                CommitTxFrequency(doc, 2, typed);
                const ChannelView v = DecodeChannel(doc.radioImage, 2, true, '.');
                EXPECT_TRUE(v.inUse) << band.text << " " << typed;
                EXPECT_TRUE(v.txInUse) << band.text << " " << typed;
                EXPECT_EQ(v.rxText, typed + ".00000");
            }
        }
    }
}
