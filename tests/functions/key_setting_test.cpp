#include "functions/key_setting.h"

#include <gtest/gtest.h>

using namespace baldo7;

TEST(KeySetting, DecodeShowsNoneForUnknownNibbles) {
    struct Case {
        std::uint8_t byte;
        int pf1, pf2;
    } cases[] = {{0x61, 1, 6}, {0xFF, 0, 0}, {0x07, 0, 0},
                 {0x70, 0, 0}, {0x56, 6, 5}, {0x8F, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(KeyFunctionIndex(c.byte, kKeyPf1), c.pf1) << int(c.byte);
        EXPECT_EQ(KeyFunctionIndex(c.byte, kKeyPf2), c.pf2) << int(c.byte);
    }
    EXPECT_EQ(KeyNibble(0xFF, kKeyPf1), 15);
}

TEST(KeySetting, EachKeyWritesOnlyItsNibble) {
    RadioImage image{};
    image[addr::kKeySet] = 0xFF;
    EXPECT_TRUE(SetKeyFunction(image, kKeyPf1, 2));
    EXPECT_EQ(image[addr::kKeySet], 0xF2);
    EXPECT_TRUE(SetKeyFunction(image, kKeyPf2, 4));
    EXPECT_EQ(image[addr::kKeySet], 0x42);
    // Any key other than PF1 is the high nibble.
    EXPECT_TRUE(SetKeyFunction(image, 3, 6));
    EXPECT_EQ(image[addr::kKeySet], 0x62);
    EXPECT_TRUE(SetKeyFunction(image, kKeyPf1, 0));
    EXPECT_EQ(image[addr::kKeySet], 0x60);
    EXPECT_FALSE(SetKeyFunction(image, kKeyPf1, 7));
    EXPECT_FALSE(SetKeyFunction(image, kKeyPf2, -1));
    EXPECT_EQ(image[addr::kKeySet], 0x60);
}

TEST(KeySetting, FunctionListOrder) {
    EXPECT_EQ(KeyFunctionList(true),
              (PickList{"None", "Monitor", "Scan", "Scramble", "Alarm", "Power", "Talk Around"}));
    EXPECT_EQ(KeyFunctionList(false),
              (PickList{"无", "监听", "扫描", "扰频器", "报警", "发射功率", "脱网"}));
}
