// The tune window's byte rules: table base, frequency points and limits, cell caps,
// threshold pairs and the Enter walk.
#include <gtest/gtest.h>

#include <vector>

#include "service/tune_data.h"

using namespace baldo7;

TEST(TuneData, PointsBaseAndLimitsByBand) {
    struct Case {
        int low, high, txHigh;
        int base;
        std::vector<int> some;  // columns 1, 2, 9, 16
        int rxLimit, txLimit;
    } cases[] = {
        {136, 174, 174, 0x0300, {136, 140, 175, 210}, 9, 9},
        {400, 480, 480, 0x0310, {400, 410, 480, 550}, 10, 10},
        {400, 480, 520, 0x0310, {400, 410, 480, 550}, 10, 14},
        {200, 260, 260, 0x0320, {200, 205, 240, 275}, 14, 14},
        {134, 176, 176, 0x0300, {134, 135, 170, 205}, 11, 11},
        {450, 530, 530, 0x0300, {450, 455, 490, 525}, 17, 17},
    };
    for (const Case& c : cases) {
        const TunePoints p = ComputeTunePoints(c.low, c.high, c.txHigh);
        EXPECT_EQ(TuneTableBase(c.low), c.base) << c.low;
        EXPECT_EQ(std::vector<int>({p.mhz[0], p.mhz[1], p.mhz[8], p.mhz[15]}), c.some) << c.low;
        EXPECT_EQ(p.rxLimitColumn, c.rxLimit) << c.low;
        EXPECT_EQ(p.txLimitColumn, c.txLimit) << c.low;
    }
    const TunePoints vhf = ComputeTunePoints(136, 174, 174);
    EXPECT_EQ(TunePointText(vhf, 1), "136");
    EXPECT_EQ(TunePointText(vhf, 16), "210\u2265");
}

TEST(TuneData, EditableCellsFollowTheLimits) {
    const TunePoints p = ComputeTunePoints(400, 480, 520);  // rx limit 10, tx limit 14
    struct Case {
        int row, column;
        bool editable;
    } cases[] = {{1, 1, true},   {1, 9, true},  {1, 10, false}, {2, 13, true},
                 {2, 14, false}, {3, 13, true}, {3, 16, false}, {0, 1, false},
                 {4, 1, false},  {1, 0, false}, {1, 17, false}};
    for (const Case& c : cases)
        EXPECT_EQ(TuneCellEditable(p, c.row, c.column), c.editable) << c.row << "," << c.column;
}

TEST(TuneData, CellsReadAndStoreInTheBandsTable) {
    RadioImage image;
    image.fill(0xFF);
    const int base = TuneTableBase(200);
    // Caps: 300 in row 2 stores 255, 200 in row 1 stores 127. A row-1 cell shows and
    // changes the low seven bits only: the top bit stays as the radio had it.
    struct Case {
        int row, column, typed, shown, before, byte, address;
    } cases[] = {{2, 1, 300, 255, 0xFF, 255, 0x0350},  {1, 1, 200, 127, 0xFF, 0xFF, 0x0320},
                 {1, 16, 45, 45, 0xFF, 0xAD, 0x032F},  {3, 5, 128, 128, 0xFF, 128, 0x0384},
                 {1, 3, 6, 6, 0x85, 0x86, 0x0322},     {1, 4, 6, 6, 0x05, 0x06, 0x0323},
                 {1, 5, 127, 127, 0x80, 0xFF, 0x0324}, {1, 6, 0, 0, 0xFF, 0x80, 0x0325}};
    for (const Case& c : cases) {
        image[static_cast<std::size_t>(c.address)] = static_cast<std::uint8_t>(c.before);
        StoreTuneCell(image, base, c.row, c.column, c.typed);
        EXPECT_EQ(image[static_cast<std::size_t>(c.address)], c.byte) << c.row << "," << c.column;
        EXPECT_EQ(TuneCellValue(image, base, c.row, c.column), c.shown);
    }
    // Row 1 shows only the low seven bits of what the radio keeps.
    image[0x0321] = 0xC5;
    EXPECT_EQ(TuneCellValue(image, base, 1, 2), 0x45);
    image[0x0351] = 0xC5;
    EXPECT_EQ(TuneCellValue(image, base, 2, 2), 0xC5);
    // Another band's table is not touched.
    EXPECT_EQ(image[0x0300], 0xFF);
    EXPECT_EQ(image[0x0310], 0xFF);
}

TEST(TuneData, ThresholdPairs) {
    EXPECT_EQ(DecodeThreshold(0x40, 0x85).high, 129);
    EXPECT_EQ(DecodeThreshold(0x40, 0x85).low, 5);
    EXPECT_EQ(DecodeThreshold(0xFF, 0xFF).high, 511);
    EXPECT_EQ(DecodeThreshold(0xFF, 0xFF).low, 127);

    RadioImage image{};
    const int base = TuneTableBase(400);
    const std::size_t pair3 = 0x0310 + 0x90 + 4;
    image[pair3] = 0x40;
    image[pair3 + 1] = 0x85;
    struct Step {
        int row, value;
        std::uint8_t h, l;
    } steps[] = {
        {1, 100, 50, 0x05},   // even: top bit of L cleared, low bits kept
        {1, 101, 50, 0x85},   // odd: top bit set
        {2, 9, 50, 0x89},     // low: top bit kept
        {2, 300, 50, 0xFF},   // a low threshold caps at 127
        {1, 999, 255, 0xFF},  // a high one at 511, all it can show: 255 * 2 + 1
        {1, 300, 150, 0x7F},  // above 127 and even: the low threshold's bits stay
    };
    for (const Step& s : steps) {
        StoreThreshold(image, base, s.row, 3, s.value);
        EXPECT_EQ(image[pair3], s.h) << s.row << ":" << s.value;
        EXPECT_EQ(image[pair3 + 1], s.l) << s.row << ":" << s.value;
    }
    EXPECT_EQ(ThresholdAt(image, base, 3).high, 300);
    EXPECT_EQ(ThresholdAt(image, base, 3).low, 127);
    // Every value a threshold cell can show can be typed back.
    for (int row = 1; row <= 2; ++row)
        for (int v = 0; v <= (row == 1 ? 511 : 127); ++v) {
            StoreThreshold(image, base, row, 5, v);
            const Threshold t = ThresholdAt(image, base, 5);
            ASSERT_EQ(row == 1 ? t.high : t.low, v) << row;
        }
}

TEST(TuneData, EnterWalk) {
    const TunePoints p = ComputeTunePoints(136, 174, 174);  // both limits at column 9
    struct Case {
        TuneCell from, to;
    } cases[] = {
        {{0, 1, 1}, {0, 1, 2}}, {{0, 1, 8}, {0, 2, 1}}, {{0, 2, 8}, {0, 3, 1}},
        {{0, 3, 8}, {1, 1, 1}}, {{1, 1, 1}, {1, 2, 1}}, {{1, 2, 1}, {1, 1, 2}},
        {{1, 1, 8}, {1, 2, 8}}, {{1, 2, 8}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        const TuneCell to = NextCellAfterEnter(p, c.from);
        EXPECT_EQ(std::vector<int>({to.grid, to.row, to.column}),
                  std::vector<int>({c.to.grid, c.to.row, c.to.column}))
            << c.from.grid << "," << c.from.row << "," << c.from.column;
    }
    // With no limit inside the grid, a row ends at column 16.
    const TunePoints wide = ComputeTunePoints(450, 530, 530);
    const TuneCell to = NextCellAfterEnter(wide, {0, 1, 16});
    EXPECT_EQ(std::vector<int>({to.grid, to.row, to.column}), std::vector<int>({0, 2, 1}));
}

TEST(TuneData, DeviationAndWholeView) {
    EXPECT_EQ(CapDeviationValue(0), 0);
    EXPECT_EQ(CapDeviationValue(128), 127);
    RadioImage image{};
    for (int c = 0; c < 16; ++c) {
        image[static_cast<std::size_t>(0x0300 + c)] = static_cast<std::uint8_t>(0x80 + c);
        image[static_cast<std::size_t>(0x0330 + c)] = static_cast<std::uint8_t>(100 + c);
        image[static_cast<std::size_t>(0x0360 + c)] = static_cast<std::uint8_t>(50 + c);
    }
    image[0x0390] = 0x40;
    image[0x0391] = 0x85;
    image[0x03C0] = 42;
    const TuneView v = DecodeTune(image, 136, 174, 174);
    EXPECT_EQ(v.rows[0][3], 3);
    EXPECT_EQ(v.rows[1][15], 115);
    EXPECT_EQ(v.rows[2][0], 50);
    EXPECT_EQ(v.thresholds[0].high, 129);
    EXPECT_EQ(v.thresholds[0].low, 5);
    EXPECT_EQ(v.maxDeviation, 42);
}
