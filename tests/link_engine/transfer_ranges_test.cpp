#include "link/transfer_ranges.h"
#include "link/transfer_request.h"
#include "link/write_verify.h"

#include <gtest/gtest.h>

using namespace baldo7;

// Each area moves its own range; a tune write starts at the band's table; a range
// the request names replaces the area's.
TEST(TransferRange, TheRequestSaysWhatMoves) {
    struct Case {
        TransferArea area;
        bool read;
        int bandLow;
        int first, end;
    };
    const Case cases[] = {
        {TransferArea::Data, true, 136, 0x0000, 0x0400},
        {TransferArea::Data, false, 136, 0x0000, 0x0300},
        {TransferArea::Tune, true, 136, 0x0300, 0x1000},
        {TransferArea::Tune, false, 400, 0x0310, 0x0400},
        {TransferArea::Tune, false, 200, 0x0320, 0x0400},
        {TransferArea::Local, true, 136, 0x0A80, 0x0B80},
        {TransferArea::Special, false, 136, 0x0E10, 0x0E20},
        {TransferArea::StunDie, false, 136, 0x0B80, 0x0BA0},
    };
    for (const Case& c : cases) {
        TransferRequest request =
            c.read ? TransferRequest::read(c.area) : TransferRequest::write(c.area);
        const TransferRange r = request.moves(c.bandLow);
        EXPECT_EQ(r.first, c.first);
        EXPECT_EQ(r.end, c.end);
        EXPECT_EQ(r.tuneOrder, c.area == TransferArea::Tune && !c.read);
        request.range = TransferRange{0x0040, 0x0080, 0x0040, false};
        EXPECT_EQ(request.moves(c.bandLow).first, 0x0040);
        EXPECT_EQ(request.moves(c.bandLow).end, 0x0080);
        // The command line's and the backups' name of the area leads back to it.
        const std::string name = TransferAreaName(c.area);
        EXPECT_EQ(name.empty(), c.area == TransferArea::Data);
        if (!name.empty()) {
            EXPECT_EQ(TransferAreaNamed(name), c.area);
        }
    }
    for (const char* other : {"", "Tune", "data", "stun"}) EXPECT_FALSE(TransferAreaNamed(other));
}

TEST(TransferRange, PercentLabelFormat) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "%"}, {0.004, "%"}, {0.005, "1%"}, {1.0 / 64, "2%"}, {0.125, "13%"}, {1.0, "100%"}};
    for (const auto& [f, text] : cases) EXPECT_EQ(PercentText(f), text) << f;
}

// ---- verify after write -------------------------------------------------------------

TEST(WriteVerify, ComparesTheLastFrameSentPerBlockAndNamesTheLowestAddresses) {
    auto frame = [](int address, std::uint8_t fill) {
        RadioMemory memory;
        memory.image.fill(fill);
        return DataBlockFrame(address, memory);
    };
    WrittenBlocks written;
    RecordWrittenFrame(written, frame(0x0040, 0x11));
    RecordWrittenFrame(written, Bytes{wire::kEnd});  // not a data block
    RecordWrittenFrame(written, frame(0x0010, 0x22));
    RecordWrittenFrame(written, frame(0x0040, 0x33));  // sent again: this one counts
    ASSERT_EQ(written.size(), 3u);
    const TransferRange range = ReadBackRange(written);
    EXPECT_EQ(range.first, 0x0010);
    EXPECT_EQ(range.end, 0x0050);
    EXPECT_EQ(range.progressStart, 0x0010);
    EXPECT_FALSE(range.tuneOrder);

    // What the radio returns for each block of the read-back range.
    const auto returned = [&range](const RadioMemory& radio) {
        WrittenBlocks blocks;
        for (int a = range.first; a < range.end; a += kBlockSize)
            RecordWrittenFrame(blocks, DataBlockFrame(a, radio));
        return blocks;
    };
    RadioMemory radio;
    for (int a = 0x10; a < 0x20; ++a) radio.set(a, 0x22);
    for (int a = 0x40; a < 0x50; ++a) radio.set(a, 0x33);
    EXPECT_TRUE(CompareReadBack(written, returned(radio)).ok());
    EXPECT_EQ(VerifyReportText(CompareReadBack(written, returned(radio)), true), "Verify OK");

    radio.set(0x4F, 0x00);
    radio.set(0x12, 0x00);
    for (int a = 0x20; a < 0x40; ++a) radio.set(a, 0x99);  // not written: not compared
    const VerifyResult one = CompareReadBack(written, returned(radio));
    EXPECT_EQ(one.differing, 2);
    EXPECT_EQ(one.firstAddresses, (std::vector<int>{0x12, 0x4F}));
    EXPECT_EQ(VerifyReportText(one, true),
              "Verify failed: 2 bytes differ from what was written, first at 0x0012, 0x004F");

    for (int a = 0x10; a < 0x20; ++a) radio.set(a, 0x00);
    const VerifyResult many = CompareReadBack(written, returned(radio));
    EXPECT_EQ(many.differing, 17);
    ASSERT_EQ(many.firstAddresses.size(), std::size_t{VerifyResult::kAddressesNamed});
    EXPECT_EQ(many.firstAddresses.front(), 0x10);
    EXPECT_EQ(many.firstAddresses.back(), 0x17);

    // A written block the radio returned nothing for is not taken as agreeing.
    WrittenBlocks lacking = returned(radio);
    lacking.erase(lacking.begin() + 3);  // 0x0040
    EXPECT_EQ(CompareReadBack(written, lacking).differing, 16 + 16);
}
