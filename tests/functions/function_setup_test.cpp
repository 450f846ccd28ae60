#include "functions/function_setup.h"

#include <gtest/gtest.h>

using namespace baldo7;

namespace {
RadioImage imageWith(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    RadioImage image{};
    image[addr::kTot] = 4;
    image[addr::kSquelch] = 5;
    for (auto [a, v] : bytes) image[a] = v;
    return image;
}
}  // namespace

TEST(OptionRepairs, OutOfRangeBytesGetDefaults) {
    struct Case {
        std::size_t address;
        std::uint8_t before, after;
    } cases[] = {
        {addr::kTot, 41, 12},
        {addr::kTot, 40, 40},
        {addr::kTotWarning, 0xFF, 0},
        {addr::kTotWarning, 10, 10},
        {addr::kSquelch, 0xFF, 3},
        {addr::kSquelch, 9, 9},
        {addr::kVox, 0xFA, 0x35},
        {addr::kVox, 0x59, 0x59},
        {addr::kVox, 0x6A, 0x35},
        {addr::kVox, 0x0A, 0x05},
        {addr::kInfBank, 0xA5, 0x05},
        {addr::kInfBank, 0x9C, 0x90},
        {addr::kInfBank, 0xFF, 0x00},
        {addr::kInfBank, 0x99, 0x99},
        {addr::kInfModel + 1, 0xFF, 0x11},
        {addr::kInfModel + 1, 0xA3, 0x13},
        {addr::kInfModel + 1, 0x3B, 0x31},
        {addr::kInfModel, 0xFF, 0x01},
        {addr::kInfModel, 0x0A, 0x01},
        {addr::kInfModel, 0x09, 0x09},
    };
    for (const Case& c : cases) {
        RadioImage image = imageWith({{c.address, c.before}});
        const RadioImage original = image;
        const auto pending = PendingOptionRepairs(image);
        EXPECT_EQ(image, original) << "pending must not write";
        const auto applied = ApplyOptionRepairs(image);
        EXPECT_EQ(image[c.address], c.after) << c.address << " " << int(c.before);
        ASSERT_EQ(pending.size(), applied.size());
        if (c.before == c.after) {
            EXPECT_TRUE(applied.empty()) << c.address;
            EXPECT_EQ(image, original);
        } else {
            ASSERT_EQ(applied.size(), 1u) << c.address;
            EXPECT_EQ(applied[0].address, c.address);
            EXPECT_EQ(applied[0].before, c.before);
            EXPECT_EQ(applied[0].after, c.after);
            EXPECT_EQ(pending[0].after, c.after);
        }
    }
}

TEST(OptionRepairs, BlankImageAndBytesNeverTouched) {
    RadioImage blank;
    blank.fill(0xFF);
    const auto pending = PendingOptionRepairs(blank);
    RadioImage image = blank;
    ApplyOptionRepairs(image);
    // 303, 306, 310 and everything outside the function bytes stay as they were.
    for (std::size_t a = 0; a < kImageSize; ++a) {
        const bool repaired =
            a == 304 || a == 305 || a == 308 || a == 309 || a == 311 || a == 312 || a == 313;
        if (!repaired) {
            EXPECT_EQ(image[a], 0xFF) << a;
        }
    }
    EXPECT_EQ(pending.size(), 7u);
    EXPECT_EQ(image[312], 0x01);
    EXPECT_EQ(image[313], 0x11);
    // A second decode finds nothing more to repair.
    EXPECT_TRUE(PendingOptionRepairs(image).empty());

    const OptionView v = DecodeOption(blank);
    EXPECT_EQ(v.tot, 12);
    EXPECT_EQ(v.totWarning, 0);
    EXPECT_EQ(v.squelch, 3);
    EXPECT_EQ(v.voice, 1);
    EXPECT_TRUE(v.save && v.beep && v.scramble && v.roger && v.freqHopping);
    EXPECT_EQ(v.infModelText, "111");
    EXPECT_EQ(DecodeOption(imageWith({{312, 0x02}, {313, 0x34}})).infModelText, "234");
}

TEST(OptionDecode, VoiceAndCheckBits) {
    struct Case {
        std::uint8_t bits;
        int voice;
        bool save, beep, scramble, roger, hopping;
    } cases[] = {
        {0x00, 0, false, false, false, false, false}, {0x04, 0, false, false, false, false, false},
        {0x08, 2, false, false, false, false, false}, {0x0C, 1, false, false, false, false, false},
        {0x13, 0, true, true, false, false, false},   {0xE0, 0, false, false, true, true, true},
        {0xFB, 2, true, true, true, true, true},
    };
    for (const Case& c : cases) {
        const OptionView v = DecodeOption(imageWith({{addr::kOptionBits, c.bits}}));
        EXPECT_EQ(v.voice, c.voice) << int(c.bits);
        EXPECT_EQ(v.save, c.save) << int(c.bits);
        EXPECT_EQ(v.beep, c.beep) << int(c.bits);
        EXPECT_EQ(v.scramble, c.scramble) << int(c.bits);
        EXPECT_EQ(v.roger, c.roger) << int(c.bits);
        EXPECT_EQ(v.freqHopping, c.hopping) << int(c.bits);
    }
}

TEST(OptionWrites, VoiceAndChecksKeepOtherBitsOf303) {
    struct Case {
        std::uint8_t before;
        int voice;
        std::uint8_t after;
    } voices[] = {{0xFF, 2, 0xFB}, {0xFF, 1, 0xFF}, {0xFF, 0, 0xF3},
                  {0x04, 0, 0x00}, {0x00, 1, 0x0C}, {0x08, 1, 0x0C}};
    for (const Case& c : voices) {
        RadioImage image = imageWith({{addr::kOptionBits, c.before}});
        EXPECT_TRUE(SetVoice(image, c.voice));
        EXPECT_EQ(image[addr::kOptionBits], c.after) << int(c.before) << " " << c.voice;
    }
    for (OptionCheck check : kOptionChecks) {
        const auto bit = static_cast<std::uint8_t>(check);
        for (std::uint8_t start : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0x5A}}) {
            RadioImage image = imageWith({{addr::kOptionBits, start}});
            SetOptionCheck(image, check, true);
            EXPECT_EQ(image[addr::kOptionBits], start | bit);
            SetOptionCheck(image, check, false);
            EXPECT_EQ(image[addr::kOptionBits], start & ~bit & 0xFF);
        }
    }
}

TEST(OptionWrites, ListBytesAndRefusedIndices) {
    RadioImage image = imageWith({});
    EXPECT_TRUE(SetTot(image, 40));
    EXPECT_TRUE(SetTotWarning(image, 10));
    EXPECT_TRUE(SetSquelch(image, 0));
    EXPECT_EQ(image[304], 40);
    EXPECT_EQ(image[305], 10);
    EXPECT_EQ(image[308], 0);
    const RadioImage before = image;
    EXPECT_FALSE(SetTot(image, -1));
    EXPECT_FALSE(SetTot(image, 41));
    EXPECT_FALSE(SetTotWarning(image, 11));
    EXPECT_FALSE(SetSquelch(image, 10));
    EXPECT_FALSE(SetVoice(image, 3));
    EXPECT_FALSE(SetVoice(image, -1));
    EXPECT_EQ(image, before);
}

TEST(OptionLists, TextsInBothLanguages) {
    const PickList tot = TotList(true);
    ASSERT_EQ(tot.size(), 41u);
    EXPECT_EQ(tot[0], "Off");
    EXPECT_EQ(tot[12], "180");
    EXPECT_EQ(tot[40], "600");
    EXPECT_EQ(TotList(false)[0], "关");
    EXPECT_EQ(TotWarningList(false),
              (PickList{"关", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(SquelchList().size(), 10u);
    EXPECT_EQ(SquelchList()[9], "9");
    EXPECT_EQ(VoiceList(true), (PickList{"Off", "Chinese", "English"}));
    EXPECT_EQ(VoiceList(false), (PickList{"关", "中文", "英文"}));
}
