#include "channels/copy_tools.h"

#include <gtest/gtest.h>

#include "channels/channel_record.h"

using namespace baldo7;

namespace {
Document vhfDocument() {
    Document doc;
    doc.radioImage.fill(0xFF);
    doc.radioImage[addr::kScanAddBitmap] = 0xFF;
    doc.radioImage[addr::kScanAddBitmap + 1] = 0x00;
    doc.BandLowMHz = 136;
    doc.BandHighMHz = 174;
    doc.BandTxHighMHz = 174;
    return doc;
}
}  // namespace

TEST(CopyTools, ChannelCopyTakesBytesAndScanBit) {
    Document doc = vhfDocument();
    for (std::size_t i = 0; i < 16; ++i) doc.radioImage[48 + i] = static_cast<std::uint8_t>(i);
    ClearScanAddBit(doc.radioImage, 3);
    ASSERT_TRUE(CopyChannel(doc.radioImage, 3, 7));
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(doc.radioImage[112 + i], i);
    EXPECT_FALSE(GetScanAddBit(doc.radioImage, 7));
    EXPECT_EQ(doc.radioImage[addr::kScanAddBitmap], 0xFF & ~0x04 & ~0x40);  // only bit 6 moved

    SetScanAddBit(doc.radioImage, 3);
    ASSERT_TRUE(CopyChannel(doc.radioImage, 3, 12));
    EXPECT_EQ(doc.radioImage[addr::kScanAddBitmap + 1], 0x08);
    EXPECT_FALSE(CopyChannel(doc.radioImage, 5, 5));
    EXPECT_FALSE(CopyChannel(doc.radioImage, 5, 17));
}

TEST(CopyTools, FrequencyCopy) {
    struct Case {
        const char* typed;
        bool warn;
        FrequencyBytes tx;
    } cases[] = {
        {"145", false, {0x00, 0x00, 0x50, 0x14}}, {"180", true, {0x00, 0x00, 0x40, 0x17}},
        {"100", true, {0x00, 0x00, 0x60, 0x13}},  {".", true, {0x00, 0x00, 0x60, 0x13}},
        {"", false, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        Document doc = vhfDocument();
        SetRxFrequency(doc.radioImage, 2, {0x00, 0x00, 0x50, 0x14});
        SetTxTone(doc.radioImage, 2, {0x75, 0x03});
        SetTxFrequency(doc.radioImage, 2, {0x00, 0x00, 0x50, 0x15});
        EXPECT_EQ(FrequencyCopy(doc, 2, c.typed).warn, c.warn) << c.typed;
        EXPECT_EQ(TxFrequencyBytes(doc.radioImage, 2), c.tx) << c.typed;
        EXPECT_EQ(TxTone(doc.radioImage, 2), (ToneCode{0x75, 0x03})) << c.typed;
    }
}

TEST(CopyTools, QtDqtCopyWritesTheEncodeTone) {
    struct Case {
        const char* typed;
        ToneCode code;
    } cases[] = {
        {"D023I", {0x13, 0xA0}}, {"88.5", {0x75, 0x03}}, {"None", kNoTone},
        {"无", kNoTone},         {"D9", {0xC0, 0x21}},   {"", {0x9E, 0x02}},
    };
    for (const Case& c : cases) {
        Document doc = vhfDocument();
        QtDqtCopy(doc, 4, c.typed);
        EXPECT_EQ(TxTone(doc.radioImage, 4), c.code) << c.typed;
        EXPECT_EQ(RxTone(doc.radioImage, 4), kNoTone) << c.typed;
    }
}
