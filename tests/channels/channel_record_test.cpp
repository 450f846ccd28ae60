#include "channels/channel_record.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/pick_lists.h"

using namespace baldo7;

namespace {
RadioImage emptyImage() {
    RadioImage image;
    image.fill(0xFF);
    image[addr::kScanAddBitmap] = 0;
    image[addr::kScanAddBitmap + 1] = 0;
    return image;
}

void putRecord(RadioImage& image, int channel, std::array<std::uint8_t, 16> bytes) {
    for (std::size_t i = 0; i < 16; ++i) image[ChannelStart(channel) + i] = bytes[i];
}
}  // namespace

TEST(ChannelRecord, AddressesAndScanBits) {
    EXPECT_EQ(ChannelStart(1), 0x010u);
    EXPECT_EQ(ChannelStart(16), 0x100u);
    EXPECT_EQ(ChannelAddress(30), 16u + 16 * 30 + 32);
    RadioImage image = emptyImage();
    image[383] = 0xA0;
    SetScanAddBit(image, 9);     // bit 0 of byte 383
    ClearScanAddBit(image, 14);  // bit 5
    SetScanAddBit(image, 8);     // bit 7 of byte 382
    EXPECT_EQ(image[383], 0x81);
    EXPECT_EQ(image[382], 0x80);
    EXPECT_TRUE(GetScanAddBit(image, 16));
    EXPECT_FALSE(GetScanAddBit(image, 1));
}

TEST(Frequency, TextAndBytes) {
    const FrequencyBytes f145{0x00, 0x25, 0x51, 0x14};
    EXPECT_EQ(FrequencyToText(f145, '.'), "145.12500");
    EXPECT_EQ(FrequencyToText(f145, ','), "145,12500");
    EXPECT_EQ(FrequencyToText({0x00, 0x00, 0x00, 0x05}, '.'), "50.00000");
    EXPECT_EQ(FrequencyToBytes(145.125), f145);
    EXPECT_EQ(FrequencyToBytes(480.0), (FrequencyBytes{0x00, 0x00, 0x00, 0x48}));
    // Halves go to the even 10 Hz step.
    EXPECT_EQ(FrequencyToBytes(145.000005), (FrequencyBytes{0x00, 0x00, 0x50, 0x14}));
    EXPECT_EQ(FrequencyToBytes(145.000015), (FrequencyBytes{0x02, 0x00, 0x50, 0x14}));
    EXPECT_EQ(ParseScaled("50,000025", ',', 5), 5000002);
    EXPECT_EQ(ParseScaled("50.0000251", '.', 5), 5000003);
    EXPECT_EQ(FrequencyToText({0xFF, 0xFF, 0xFF, 0xFF}, '.'), "FF15.1515151515");
}

TEST(Frequency, InUseIsInclusive50To530) {
    struct Case {
        const char* text;
        char sep;
        bool inUse;
    } cases[] = {
        {"50.00000", '.', true},   {"530.00000", '.', true},  {"49.99999", '.', false},
        {"530.00001", '.', false}, {"525.00000", '.', true},  {"520.00001", '.', true},
        {"145,12500", ',', true},  {"145.12500", ',', false}, {"FF15.1515151515", '.', false},
        {"", '.', false},          {".", '.', false},
    };
    for (const Case& c : cases) EXPECT_EQ(FrequencyInUse(c.text, c.sep), c.inUse) << c.text;

    // Bytes: non-BCD nibbles make the channel empty even when the text would parse.
    EXPECT_TRUE(FrequencyInUse(FrequencyBytes{0x00, 0x25, 0x51, 0x14}));
    EXPECT_FALSE(FrequencyInUse(FrequencyBytes{0x0A, 0x25, 0x51, 0x14}));
    EXPECT_FALSE(FrequencyInUse(FrequencyBytes{0x99, 0x99, 0x99, 0x04}));
    EXPECT_FALSE(FrequencyInUse(FrequencyBytes{0x01, 0x00, 0x00, 0x53}));
}

TEST(Tone, TextFromCode) {
    struct Case {
        ToneCode code;
        const char* text;
    } cases[] = {
        {{0x9E, 0x02}, "67.0"},  {{0x75, 0x03}, "88.5"},  {{0xE8, 0x03}, "100.0"},
        {{0xF0, 0x09}, "None"},  {{0x13, 0x20}, "D023N"}, {{0x13, 0xA0}, "D023I"},
        {{0x13, 0x21}, "D423N"}, {{0xFF, 0xFF}, "None"},  {{0x13, 0x3E}, "D023N"},
    };
    for (const Case& c : cases) EXPECT_EQ(ToneToText(c.code, true, '.'), c.text) << c.text;
    EXPECT_EQ(ToneToText(kNoTone, false, '.'), "无");
    EXPECT_EQ(ToneToText({0x75, 0x03}, true, ','), "88,5");
}

TEST(Tone, FromListIndexMatchesTheListTexts) {
    const PickList list = ToneList(true, ',');
    EXPECT_EQ(ToneFromListIndex(168, list[168], ','), (ToneCode{0x13, 0xA0}));  // D023I
    EXPECT_EQ(ToneFromListIndex(283, "", ','), kNoTone);
    // Every entry reads back as its own text.
    for (int i = 0; i < kToneListSize; ++i)
        EXPECT_EQ(ToneToText(ToneFromListIndex(i, list[i], ','), true, ','), list[i]);
}

TEST(ChannelRecord, DecodeAndDisplay) {
    Document doc;
    doc.IsEnglish = true;
    doc.radioImage = emptyImage();
    putRecord(doc.radioImage, 2,
              {0x00, 0x25, 0x51, 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x75, 0x03, 0xFF, 0xFF, 0xAD, 0x10,
               0xFF, 0xFF});
    SetScanAddBit(doc.radioImage, 2);
    const ChannelView v = DisplayChannel(doc, 2);
    // Byte 12 = 0xAD: scrambler on, compander off, QT/DQT, wide, type 6; byte 13 =
    // 0x10: low power, special code.
    EXPECT_TRUE(v.inUse && !v.txInUse && v.txText.empty() && v.scrambleOn && !v.compand);
    EXPECT_EQ(v.rxText + " " + v.rxToneText + " " + v.txToneText, "145.12500 88.5 None");
    EXPECT_EQ((std::array<int, 6>{v.powerIndex, v.spacingIndex, v.busyLockIndex,
                                  v.scrambleTypeIndex, v.cdcssModeIndex, v.scanListIndex()}),
              (std::array<int, 6>{0, 1, 2, 5, 1, 0}));

    // A receive frequency of 49.99999 MHz makes the whole record empty, and showing
    // it drops the scan bit.
    putRecord(doc.radioImage, 4,
              {0x99, 0x99, 0x99, 0x04, 0x00, 0x25, 0x51, 0x14, 0x75, 0x03, 0xFF, 0xFF, 0x08, 0x01,
               0xFF, 0xFF});
    SetScanAddBit(doc.radioImage, 4);
    EXPECT_FALSE(DisplayChannel(doc, 4).inUse);
    EXPECT_FALSE(GetScanAddBit(doc.radioImage, 4));
    EXPECT_TRUE(GetScanAddBit(doc.radioImage, 2));
}

TEST(ChannelRecord, BitFieldsKeepTheRestOfTheByte) {
    Document doc;
    doc.SpecialCodeSupported = false;
    auto& img = doc.radioImage;
    struct Case {
        std::size_t offset;
        std::uint8_t before;
        std::function<void()> set;
        std::uint8_t after;
    } cases[] = {
        {12, 0x30, [&] { SetBusyLock(img, 5, 1); }, 0x10},
        {12, 0xFF, [&] { SetBusyLock(img, 5, 2); }, 0xEF},
        {12, 0xFF, [&] { SetSpacing(img, 5, 0); }, 0xF7},
        {12, 0xFF, [&] { SetScrambleType(img, 5, 2); }, 0xFA},
        {12, 0xFF, [&] { SetCompand(img, 5, false); }, 0xBF},
        {12, 0x00, [&] { SetScrambleOn(img, 5, true); }, 0x80},
        {12, 0x2A, [&] { SetReverse(img, 5, true); }, 0x1A},
        {12, 0x1A, [&] { SetTalkAround(img, 5, true); }, 0x2A},
        {12, 0x2A, [&] { SetReverse(img, 5, false); }, 0x2A},  // not its bit
        {12, 0x2A, [&] { SetTalkAround(img, 5, false); }, 0x0A},
        {13, 0xEE, [&] { SetTxPower(img, 5, 1); }, 0xEF},
        {13, 0xFF, [&] { SetCdcssMode(doc, 5, 1); }, 0xEF},  // special code not supported
    };
    for (const Case& c : cases) {
        img[ChannelStart(5) + c.offset] = c.before;
        c.set();
        EXPECT_EQ(img[ChannelStart(5) + c.offset], c.after) << int(c.before) << " " << int(c.after);
    }
    doc.SpecialCodeSupported = true;
    SetCdcssMode(doc, 5, 1);
    EXPECT_EQ(img[ChannelStart(5) + 13], 0xFF);
}

TEST(ChannelMoves, InsertOnTheLastRowChangesNoByte) {
    RadioImage image = emptyImage();
    // Channel 16 reads as empty but still holds the bytes of an earlier channel.
    for (std::size_t i = 4; i < 16; ++i) image[ChannelStart(16) + i] = std::uint8_t(i);
    SetRxFrequency(image, 15, UnitsToBytes(150 * kUnitsPerMHz));
    const RadioImage before = image;
    EXPECT_TRUE(InsertEmptyChannel(image, 16));
    EXPECT_EQ(image, before);
}

TEST(ChannelMoves, DeletingTheLastChannelEmptiesIt) {
    RadioImage image = emptyImage();
    SetRxFrequency(image, 15, UnitsToBytes(150 * kUnitsPerMHz));
    SetRxFrequency(image, 16, UnitsToBytes(160 * kUnitsPerMHz));
    SetScanAddBit(image, 16);
    DeleteChannel(image, 16);
    EXPECT_TRUE(ChannelInUse(image, 15));
    EXPECT_FALSE(ChannelInUse(image, 16));
    EXPECT_FALSE(GetScanAddBit(image, 16));
    DeleteChannel(image, 15);
    for (std::size_t i = 0; i < 32; ++i) EXPECT_EQ(image[ChannelStart(15) + i], 0xFF);
}
