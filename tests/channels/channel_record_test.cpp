#include "channels/channel_record.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(ScanAddBit(8).byteAddress, 382u);
    EXPECT_EQ(ScanAddBit(8).mask, 0x80);
    EXPECT_EQ(ScanAddBit(9).byteAddress, 383u);
    EXPECT_EQ(ScanAddBit(9).mask, 0x01);

    RadioImage image = emptyImage();
    image[383] = 0xA0;
    SetScanAddBit(image, 9);
    EXPECT_EQ(image[383], 0xA1);
    ClearScanAddBit(image, 14);  // bit 5
    EXPECT_EQ(image[383], 0x81);
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

TEST(Frequency, InUseIsInclusive50To520) {
    struct Case {
        const char* text;
        char sep;
        bool inUse;
    } cases[] = {
        {"50.00000", '.', true},         {"520.00000", '.', true}, {"49.99999", '.', false},
        {"520.00001", '.', false},       {"145,12500", ',', true}, {"145.12500", ',', false},
        {"FF15.1515151515", '.', false}, {"", '.', false},         {".", '.', false},
    };
    for (const Case& c : cases) EXPECT_EQ(FrequencyInUse(c.text, c.sep), c.inUse) << c.text;

    // Bytes: non-BCD nibbles make the channel empty even when the text would parse.
    EXPECT_TRUE(FrequencyInUse(FrequencyBytes{0x00, 0x25, 0x51, 0x14}));
    EXPECT_FALSE(FrequencyInUse(FrequencyBytes{0x0A, 0x25, 0x51, 0x14}));
    EXPECT_FALSE(FrequencyInUse(FrequencyBytes{0x99, 0x99, 0x99, 0x04}));
    EXPECT_FALSE(FrequencyInUse(FrequencyBytes{0x01, 0x00, 0x00, 0x52}));
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
    EXPECT_EQ(ToneFromListIndex(0, list[0], ','), kNoTone);
    EXPECT_EQ(ToneFromListIndex(1, list[1], ','), (ToneCode{0x9E, 0x02}));
    EXPECT_EQ(ToneFromListIndex(50, list[50], ','), (ToneCode{0xED, 0x09}));
    EXPECT_EQ(ToneFromListIndex(52, list[52], ','), (ToneCode{0x13, 0x20}));  // D023N
    EXPECT_EQ(ToneFromListIndex(168, list[168], ','), (ToneCode{0x13, 0xA0}));
    EXPECT_EQ(ToneFromListIndex(283, "", ','), kNoTone);
    // Every entry reads back as its own text.
    for (int i = 0; i < kToneListSize; ++i)
        EXPECT_EQ(ToneToText(ToneFromListIndex(i, list[i], ','), true, ','), list[i]);
}

TEST(ChannelRecord, ClearingAndDefaults) {
    RadioImage image = emptyImage();
    putRecord(image, 3,
              {0x00, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14, 0x9E, 0x02, 0x13, 0x20, 0x4B, 0xE1,
               0x12, 0x34});
    SetScanAddBit(image, 3);
    ClearTx(image, 3);
    for (std::size_t off : {4, 5, 6, 7, 10, 11}) EXPECT_EQ(image[ChannelStart(3) + off], 0xFF);
    EXPECT_EQ(image[ChannelStart(3) + 8], 0x9E);
    EXPECT_EQ(image[ChannelStart(3) + 14], 0x12);

    ClearChannel(image, 3);
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(image[ChannelStart(3) + i], 0xFF);
    EXPECT_FALSE(GetScanAddBit(image, 3));

    ApplyNewChannelDefaults(image, 3);
    EXPECT_EQ(image[ChannelStart(3) + 12], 0x08);
    EXPECT_EQ(image[ChannelStart(3) + 13], 0x01);
    EXPECT_TRUE(GetScanAddBit(image, 3));

    EXPECT_EQ(TxFollowingRx(50000000, 480), (FrequencyBytes{0x00, 0x00, 0x00, 0x48}));
    EXPECT_EQ(TxFollowingRx(47012500, 480), (FrequencyBytes{0x00, 0x25, 0x01, 0x47}));
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
    EXPECT_TRUE(v.inUse);
    EXPECT_EQ(v.rxText, "145.12500");
    EXPECT_FALSE(v.txInUse);
    EXPECT_EQ(v.txText, "");
    EXPECT_EQ(v.rxToneText, "88.5");
    EXPECT_EQ(v.txToneText, "None");
    EXPECT_EQ(v.powerIndex, 0);
    EXPECT_EQ(v.spacingIndex, 1);
    EXPECT_EQ(v.busyLockIndex, 2);
    EXPECT_EQ(v.scrambleTypeIndex, 5);
    EXPECT_FALSE(v.compand);
    EXPECT_TRUE(v.scrambleOn);
    EXPECT_EQ(v.cdcssModeIndex, 1);
    EXPECT_EQ(v.scanListIndex(), 0);

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
    doc.radioImage = emptyImage();
    const std::size_t b12 = ChannelStart(5) + 12, b13 = ChannelStart(5) + 13;
    auto& img = doc.radioImage;

    img[b12] = 0x30;
    SetBusyLock(img, 5, 1);
    EXPECT_EQ(img[b12], 0x10);
    img[b12] = 0xFF;
    SetBusyLock(img, 5, 1);
    EXPECT_EQ(img[b12], 0xDF);
    SetBusyLock(img, 5, 0);
    EXPECT_EQ(img[b12], 0xCF);
    SetSpacing(img, 5, 0);
    EXPECT_EQ(img[b12], 0xC7);
    SetScrambleType(img, 5, 2);
    EXPECT_EQ(img[b12], 0xC2);
    SetCompand(img, 5, false);
    SetScrambleOn(img, 5, false);
    EXPECT_EQ(img[b12], 0x02);
    SetReverse(img, 5, true);
    EXPECT_EQ(img[b12], 0x12);
    SetTalkAround(img, 5, true);
    EXPECT_EQ(img[b12], 0x22);
    SetReverse(img, 5, false);  // not its bit: stays
    EXPECT_EQ(img[b12], 0x22);
    SetTalkAround(img, 5, false);
    EXPECT_EQ(img[b12], 0x02);

    img[b13] = 0xEE;
    SetTxPower(img, 5, 1);
    EXPECT_EQ(img[b13], 0xEF);
    SetCdcssMode(doc, 5, 0);
    EXPECT_EQ(img[b13], 0xEF & ~0x10);
    doc.SpecialCodeSupported = true;
    SetCdcssMode(doc, 5, 1);
    EXPECT_EQ(img[b13], 0xFF);
    doc.SpecialCodeSupported = false;
    SetCdcssMode(doc, 5, 1);
    EXPECT_EQ(img[b13], 0xEF);
}

namespace {
// Channel k carries receive frequency 140 + k MHz and its scan bit when odd.
RadioImage numberedImage(int inUse) {
    RadioImage image;
    image.fill(0xFF);
    image[addr::kScanAddBitmap] = 0;
    image[addr::kScanAddBitmap + 1] = 0;
    for (int k = 1; k <= inUse; ++k) {
        SetRxFrequency(image, k, UnitsToBytes((140 + k) * kUnitsPerMHz));
        SetScanAddBit(image, k, k % 2 == 1);
    }
    return image;
}
int mhzOf(const RadioImage& image, int k) {
    return ChannelInUse(image, k)
               ? static_cast<int>(BytesToUnits(RxFrequencyBytes(image, k)) / kUnitsPerMHz) - 140
               : 0;
}
}  // namespace

TEST(ChannelMoves, InsertShiftsDownWithScanBits) {
    RadioImage full = numberedImage(16);
    EXPECT_FALSE(InsertEmptyChannel(full, 3));
    EXPECT_EQ(full, numberedImage(16));

    RadioImage image = numberedImage(15);
    ASSERT_TRUE(InsertEmptyChannel(image, 3));
    for (int k = 1; k <= 16; ++k) {
        const int expected = k < 3 ? k : k == 3 ? 0 : k - 1;
        EXPECT_EQ(mhzOf(image, k), expected) << k;
        EXPECT_EQ(GetScanAddBit(image, k), expected % 2 == 1) << k;
    }
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(image[ChannelStart(3) + i], 0xFF);
}

TEST(ChannelMoves, DeleteShiftsUpAndEmptiesTheLast) {
    RadioImage image = numberedImage(16);
    DeleteChannel(image, 3);
    for (int k = 1; k <= 16; ++k) {
        const int expected = k < 3 ? k : k == 16 ? 0 : k + 1;
        EXPECT_EQ(mhzOf(image, k), expected) << k;
        EXPECT_EQ(GetScanAddBit(image, k), expected % 2 == 1) << k;
    }
    RadioImage last = numberedImage(16);
    DeleteChannel(last, 16);
    EXPECT_EQ(mhzOf(last, 15), 15);
    EXPECT_FALSE(ChannelInUse(last, 16));
    EXPECT_FALSE(GetScanAddBit(last, 16));
}
