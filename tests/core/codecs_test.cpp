#include "core/codecs.h"

#include <gtest/gtest.h>

using namespace baldo7;

TEST(ByteCodecs, ShiftLeftAndBcd) {
    EXPECT_EQ(ShiftLeft(1, 7), 128);
    EXPECT_EQ(ShiftLeft(1, 8), 0);
    EXPECT_EQ(ShiftLeft(5, 0), 5);
    EXPECT_EQ(ShiftLeft(3, 2), 12);
    EXPECT_EQ(ByteToBcd(45), 0x45);
    EXPECT_EQ(ByteToBcd(0), 0x00);
    EXPECT_EQ(ByteToBcd(99), 0x99);
    for (int v = 0; v < 100; ++v) {
        const int bcd = ByteToBcd(static_cast<std::uint8_t>(v));
        EXPECT_EQ((bcd >> 4) * 10 + (bcd & 0x0F), v);
    }
}

TEST(DecimalSeparator, FollowsTheLocaleFormatter) {
    EXPECT_EQ(DetectDecimalSeparator([](double) { return std::string("0.5"); }), '.');
    EXPECT_EQ(DetectDecimalSeparator([](double) { return std::string("0,5"); }), ',');
    // Anything without a point (a locale writing "0٫5") counts as a comma locale.
    EXPECT_EQ(DetectDecimalSeparator([](double) {
                  return std::string(
                      "0\xD9\xAB"
                      "5");
              }),
              ',');
}

struct KeyCase {
    const char* text;
    bool selected;
    int key;
    int mode;
    char separator;
    int expected;
};

TEST(KeyFilter, ModesLengthsAndSeparator) {
    const KeyCase cases[] = {
        // A second separator is refused, a first one accepted.
        {"145.1", false, '.', 1, '.', 0},
        {"", false, '.', 1, '.', '.'},
        {"145,1", false, ',', 1, ',', 0},
        {"145", false, ',', 1, ',', ','},
        {"145", false, '.', 1, ',', 0},  // a point is no separator in a comma locale
        // Full box: refused unless something is selected; Backspace and Enter always pass.
        {"145.12500", false, '5', 1, '.', 0},
        {"145.12500", true, '5', 1, '.', '5'},
        {"145.12500", false, kKeyBackspace, 1, '.', kKeyBackspace},
        {"145.12500", false, kKeyEnter, 1, '.', kKeyEnter},
        {"1451250", false, '5', 2, '.', '5'},
        {"14512500", false, '5', 2, '.', 0},
        {"", false, 'x', 1, '.', 0},
        // Mode 3: names, upper-cased.
        {"", false, 'a', 3, '.', 'A'},
        {"", false, '\\', 3, '.', 0},
        {"AB", false, '_', 3, '.', '_'},
        {"ABCDEF", false, 'G', 3, '.', 0},
        // Digits only, with their lengths.
        {"12", false, '3', 4, '.', '3'},
        {"123", false, '4', 4, '.', 0},
        {"1", false, '.', 4, '.', 0},
        {"12", false, '3', 5, '.', 0},
        {"1", false, '0', 6, '.', '0'},
        {"", false, '0', 7, '.', 0},
        {"", false, '9', 7, '.', '9'},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(KeyFilter(c.text, c.selected, c.key, c.mode, c.separator), c.expected)
            << "text '" << c.text << "' key " << c.key << " mode " << c.mode;
    }
}
