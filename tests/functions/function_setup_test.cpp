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
    };
    // clang-format off
    const Case cases[] = {
        {304, 41, 12},     {304, 40, 40},     {305, 0xFF, 0},    {305, 10, 10},
        {308, 0xFF, 3},    {308, 9, 9},       {309, 0xFA, 0x35}, {309, 0x59, 0x59},
        {309, 0x0A, 0x05}, {311, 0xA5, 0x05}, {311, 0x9C, 0x90}, {311, 0x99, 0x99},
        {313, 0xFF, 0x11}, {313, 0xA3, 0x13}, {313, 0x3B, 0x31}, {312, 0x0A, 0x01},
        {312, 0x09, 0x09},
    };
    // clang-format on
    for (const Case& c : cases) {
        RadioImage image = imageWith({{c.address, c.before}});
        const RadioImage original = image;
        const auto pending = PendingOptionRepairs(image);
        EXPECT_EQ(image, original) << "pending must not write";
        const auto applied = ApplyOptionRepairs(image);
        EXPECT_EQ(image[c.address], c.after) << c.address << " " << int(c.before);
        RadioImage others = image;
        others[c.address] = c.before;
        EXPECT_EQ(others, original) << "only the repaired byte changes";
        if (c.before == c.after) {
            EXPECT_TRUE(applied.empty() && pending.empty()) << c.address;
        } else {
            ASSERT_EQ(applied.size(), 1u) << c.address;
            ASSERT_EQ(pending.size(), 1u) << c.address;
            EXPECT_EQ(applied[0].address, c.address);
            EXPECT_EQ(applied[0].before, c.before);
            EXPECT_EQ(pending[0].after, c.after);
        }
    }
}

TEST(OptionRepairs, BlankImage) {
    RadioImage image;
    image.fill(0xFF);
    EXPECT_EQ(PendingOptionRepairs(image).size(), 7u);
    EXPECT_EQ(DecodeOption(image).infModelText, "111");
    ApplyOptionRepairs(image);
    EXPECT_EQ(image[312], 0x01);
    EXPECT_EQ(image[313], 0x11);
    // A second decode finds nothing more to repair.
    EXPECT_TRUE(PendingOptionRepairs(image).empty());
    EXPECT_EQ(DecodeOption(imageWith({{312, 0x02}, {313, 0x34}})).infModelText, "234");
}

TEST(OptionDecode, VoicePatternsAndCheckBits) {
    // Pattern 01 of bits 3-2 shows Off; each box reads only its own bit.
    const std::pair<std::uint8_t, int> voices[] = {{0x00, 0}, {0x04, 0}, {0x08, 2}, {0x0C, 1}};
    for (auto [bits, voice] : voices)
        EXPECT_EQ(DecodeOption(imageWith({{addr::kOptionBits, bits}})).voice, voice) << int(bits);
    const OptionView v = DecodeOption(imageWith({{addr::kOptionBits, 0xA1}}));
    EXPECT_TRUE(v.save && v.scramble && v.freqHopping);
    EXPECT_FALSE(v.beep || v.roger);
}

TEST(OptionWrites, VoiceAndChecksKeepOtherBitsOf303) {
    const std::tuple<std::uint8_t, int, std::uint8_t> voices[] = {
        {0xFF, 2, 0xFB}, {0xFF, 1, 0xFF}, {0xFF, 0, 0xF3}, {0x04, 0, 0x00}, {0x08, 1, 0x0C}};
    for (auto [before, voice, after] : voices) {
        RadioImage image = imageWith({{addr::kOptionBits, before}});
        EXPECT_TRUE(SetVoice(image, voice));
        EXPECT_EQ(image[addr::kOptionBits], after) << int(before) << " " << voice;
    }
    for (OptionCheck check : kOptionChecks) {
        const auto bit = static_cast<std::uint8_t>(check);
        for (std::uint8_t start : {0x00, 0xFF, 0x5A}) {
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
    EXPECT_TRUE(SetTot(image, 40) && SetTotWarning(image, 10) && SetSquelch(image, 0));
    EXPECT_EQ(image[304], 40);
    EXPECT_EQ(image[305], 10);
    EXPECT_EQ(image[308], 0);
    const RadioImage before = image;
    EXPECT_FALSE(SetTot(image, -1) || SetTot(image, 41) || SetTotWarning(image, 11) ||
                 SetSquelch(image, 10) || SetVoice(image, 3) || SetVoice(image, -1));
    EXPECT_EQ(image, before);
}
