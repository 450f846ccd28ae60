#include "link/transfer_ranges.h"

#include <gtest/gtest.h>

using namespace baldo7;

TEST(TransferRange, FirstMatchingFlagWins) {
    struct Case {
        bool tune, local, special, stunDie, read;
        int bandLow;
        int first, end;
    };
    const Case cases[] = {
        {false, false, false, false, true, 136, 0x0000, 0x0400},
        {false, false, false, false, false, 136, 0x0000, 0x0300},
        {true, true, true, true, true, 136, 0x0300, 0x1000},
        {true, false, true, false, false, 400, 0x0310, 0x0400},
        {false, true, true, true, true, 136, 0x0A80, 0x0B80},
        {false, false, true, true, false, 136, 0x0E10, 0x0E20},
        {false, false, false, true, false, 136, 0x0B80, 0x0BA0},
    };
    for (const Case& c : cases) {
        Document doc;
        doc.TuneMode = c.tune;
        doc.LocalMessageMode = c.local;
        doc.SpecialMode = c.special;
        doc.StunDieMode = c.stunDie;
        doc.BandLowMHz = c.bandLow;
        const TransferRange r = SelectTransferRange(doc, c.read);
        EXPECT_EQ(r.first, c.first);
        EXPECT_EQ(r.end, c.end);
    }
}

TEST(TransferRange, PercentLabelFormat) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "%"}, {0.004, "%"}, {0.005, "1%"}, {1.0 / 64, "2%"}, {0.125, "13%"}, {1.0, "100%"}};
    for (const auto& [f, text] : cases) EXPECT_EQ(PercentText(f), text) << f;
}
