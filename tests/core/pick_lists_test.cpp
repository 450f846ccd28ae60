#include "core/pick_lists.h"

#include <gtest/gtest.h>

#include <set>

using namespace baldo7;

TEST(ToneList, LayoutAndSeparator) {
    const PickList en = ToneList(true, '.');
    ASSERT_EQ(en.size(), 283u);
    EXPECT_EQ(en[0], "None");
    EXPECT_EQ(en[1], "67.0");
    EXPECT_EQ(en[13], "100.0");
    EXPECT_EQ(en[50], "254.1");
    EXPECT_EQ(en[51], "D017N");
    EXPECT_EQ(en[166], "D765N");
    EXPECT_EQ(en[167], "D017I");
    EXPECT_EQ(en[282], "D765I");
    EXPECT_EQ(ToneList(false, ',')[0], "无");
    EXPECT_EQ(ToneList(false, ',')[1], "67,0");
    // No two entries alike: the index is what is stored.
    EXPECT_EQ(std::set<std::string>(en.begin(), en.end()).size(), en.size());
    // Every DCS code is three octal digits.
    for (int code : kDcsCodes)
        for (int d = code; d; d /= 10) EXPECT_LT(d % 10, 8) << code;
}

TEST(PickLists, FillersAppendInOrder) {
    PickList l{"keep"};
    FillSpacingList(l, true, ',');
    EXPECT_EQ(l, (PickList{"keep", "12,5K(Narrow)", "25K(Wide)"}));
    EXPECT_EQ(SpacingList(false, '.'), (PickList{"12.5K(窄带)", "25K(宽带)"}));
    EXPECT_EQ(BusyLockList(false), (PickList{"关", "载波", "QT/DQT"}));
    EXPECT_EQ(ScanList(true), (PickList{"Add", "Delete"}));
    EXPECT_EQ(PowerList(false), (PickList{"低", "高"}));
    EXPECT_EQ(ScrambleTypeList().size(), 8u);
    EXPECT_EQ(ScrambleTypeList().back(), "8");
}
