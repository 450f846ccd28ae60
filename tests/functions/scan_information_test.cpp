#include "functions/scan_information.h"

#include <gtest/gtest.h>

using namespace baldo7;

TEST(ScanInformation, TimesShowTheirEntryOrTheFirst) {
    struct Case {
        std::uint8_t byte;
        int index;
    } cases[] = {{10, 0}, {15, 1}, {25, 3}, {50, 8}, {27, 0}, {9, 0}, {55, 0}, {0xFF, 0}, {5, 0}};
    for (const Case& c : cases) EXPECT_EQ(ScanTimeIndex(c.byte), c.index) << int(c.byte);
    EXPECT_EQ(ScanTimeList('.').at(3), "2.5");
    EXPECT_EQ(ScanTimeList(',').back(), "5,0");
    EXPECT_EQ(ScanTimeList('.').size(), 9u);

    RadioImage image{};
    image[293] = 0x27;
    ASSERT_TRUE(SetLookBackTime(image, 1, 8));
    ASSERT_TRUE(SetScanDelay(image, 0, 3));
    EXPECT_EQ(image[291], 50);
    EXPECT_EQ(image[293], 25);
    EXPECT_FALSE(SetScanDelay(image, 1, 9));
    EXPECT_FALSE(SetLookBackTime(image, 2, 0));
    EXPECT_EQ(image[294], 0);
    EXPECT_EQ(image[292], 0);
}

TEST(ScanInformation, PriorityModeAndRevertChannel) {
    struct Case {
        std::uint8_t mode, revert;
        int priority, entries, shown;
    } cases[] = {
        // A revert value the list does not hold shows no entry (-1): never one that
        // is not stored.
        {0, 3, 0, 2, -1}, {0, 1, 0, 2, 1},  {0, 0, 0, 2, 0},  {1, 3, 1, 4, 3},
        {2, 2, 2, 4, 2},  {2, 4, 2, 4, -1}, {3, 2, 0, 2, -1}, {0xFF, 0xFF, 0, 2, -1},
    };
    for (const Case& c : cases) {
        RadioImage image{};
        image[288] = c.mode;
        image[292] = c.revert;
        const ScanView v = DecodeScan(image);
        EXPECT_EQ(v.priority, c.priority) << int(c.mode);
        EXPECT_EQ(v.revertEntries, c.entries) << int(c.mode);
        EXPECT_EQ(v.revert, c.shown) << int(c.mode) << " " << int(c.revert);
    }
    EXPECT_EQ(RevertChannelList(true, kPriorityNone), (PickList{"Selected", "Selected+Talk Back"}));
    EXPECT_EQ(RevertChannelList(false, kPriorityFixd).back(), "优先+当前通话");
    RadioImage image{};
    EXPECT_FALSE(SetRevertChannel(image, 2, 2));
    EXPECT_TRUE(SetRevertChannel(image, 3, 4));
    EXPECT_EQ(image[292], 3);
    EXPECT_FALSE(SetPriorityMode(image, 3));
}

TEST(ScanInformation, PrioritySlotsOfferTheScanListOfGroupOne) {
    // A stored channel the slot does not offer shows as none (0): nothing is repaired.
    struct Case {
        std::uint8_t byte312;
        int shown;
    } cases[] = {{6, 6}, {2, 0}, {16, 16}, {0xFF, 0}, {0, 0}};
    for (const Case& c : cases) {
        RadioImage image;
        image.fill(0xFF);
        image[382] = 0x25;
        image[383] = 0x80;
        image[312] = c.byte312;
        const ScanView v = DecodeScan(image);
        EXPECT_EQ(v.prioritySlots[0].channels, (std::vector<int>{1, 3, 6, 16}));
        EXPECT_EQ(v.priorityChannel(0), c.shown) << int(c.byte312);
        EXPECT_EQ(v.prioritySlots[0].selected < 0, c.shown == 0) << int(c.byte312);
        // Groups 2..8 have no bitmap: empty lists, bytes never rewritten.
        for (int k = 1; k < kPrioritySlots; ++k) {
            EXPECT_TRUE(v.prioritySlots[k].channels.empty());
            EXPECT_EQ(v.priorityChannel(k), 0);
        }
    }

    RadioImage image;
    image.fill(0xFF);
    image[382] = 0x00;
    image[383] = 0x00;
    image[312] = 7;
    EXPECT_TRUE(DecodeScan(image).prioritySlots[0].channels.empty());
    EXPECT_EQ(DecodeScan(image).priorityChannel(0), 0);
    image[383] = 0x80;
    EXPECT_TRUE(SetPriorityChannel(image, 0, 16));
    EXPECT_EQ(image[312], 16);
    EXPECT_FALSE(SetPriorityChannel(image, 0, 3));
    EXPECT_FALSE(SetPriorityChannel(image, 1, 16));
    EXPECT_EQ(image[312], 16);
    EXPECT_EQ(image[313], 0xFF);
}
