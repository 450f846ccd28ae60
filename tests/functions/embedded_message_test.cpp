#include "functions/embedded_message.h"

#include <gtest/gtest.h>

using namespace baldo7;

namespace {
RadioImage blank() {
    RadioImage image;
    image.fill(0xFF);
    return image;
}
}  // namespace

TEST(EmbeddedMessage, DecodeSkipsEveryByteItDoesNotShow) {
    struct Case {
        std::size_t at;
        std::vector<std::uint8_t> bytes;
        MessageLines lines;
    } cases[] = {
        {768, {0x48, 0x49, 0xFF, 0x41}, {"HIA", ""}},
        {768, {0x13, 0x14, 0x7E, 0x7F, 0x20, 0xE9, 0x00}, {"\x14~ ", ""}},
        {798, {'A', 'B', 'C', 'D'}, {"AB", "CD"}},
        {820, {'x', 0xFF, 'y'}, {"", "xy"}},
        {767, {'Z'}, {"", ""}},  // outside the region
        {832, {'Z'}, {"", ""}},
    };
    for (const Case& c : cases) {
        RadioImage image = blank();
        std::copy(c.bytes.begin(), c.bytes.end(), image.begin() + c.at);
        EXPECT_EQ(EmbeddedMessageLines(image), c.lines) << c.at;
    }
}

TEST(EmbeddedMessage, EncodePacksEachLineAndClearsWhatWouldShow) {
    RadioImage image = blank();
    image[767] = 0x11;
    image[832] = 0x22;
    for (std::size_t a = 768; a < 832; ++a) image[a] = 0x30;  // tune-like bytes
    SetEmbeddedMessage(image, {"HIA", ""});
    EXPECT_EQ(image[768], 'H');
    EXPECT_EQ(image[769], 'I');
    EXPECT_EQ(image[770], 'A');
    for (std::size_t a = 771; a < 832; ++a) ASSERT_EQ(image[a], 0xFF) << a;
    EXPECT_EQ(image[767], 0x11);
    EXPECT_EQ(image[832], 0x22);

    // 32 characters fill line 1 exactly; longer lines are cut, never spill over.
    const std::string full(32, 'W');
    SetEmbeddedMessage(image, {full + "XYZ", std::string(40, 'v')});
    EXPECT_EQ(EmbeddedMessageLines(image), (MessageLines{full, std::string(32, 'v')}));
    EXPECT_EQ(image[832], 0x22);

    // Bytes the window would drop are never stored: they would vanish on the next open.
    SetEmbeddedMessage(image, {"caf\xE9!", std::string("\x7F\x01ok", 4)});
    EXPECT_EQ(EmbeddedMessageLines(image), (MessageLines{"caf!", "ok"}));
    EXPECT_EQ(image[772], 0xFF);
}

TEST(EmbeddedMessage, TuneWriteWarnsWhenTheSentBytesAreNotWhatWasRead) {
    RadioImage image = blank();
    const MessageRegion read = MessageRegionOf(image);
    struct Case {
        std::size_t base;
        std::size_t changed;  // 0: none
        bool known;
        bool warn;
    } cases[] = {
        {0x300, 0, true, false},   {0x300, 768, true, true},  {0x300, 831, true, true},
        {0x310, 783, true, false},  // before the 400 MHz table: not sent
        {0x310, 784, true, true},  {0x320, 799, true, false}, {0x320, 800, true, true},
        {0x300, 0, false, true},   {0x320, 0, false, true},
    };
    for (const Case& c : cases) {
        RadioImage now = image;
        if (c.changed) now[c.changed] = 'M';
        const std::optional<MessageRegion> last =
            c.known ? std::optional<MessageRegion>(read) : std::nullopt;
        EXPECT_EQ(TuneWriteNeedsMessageWarning(now, c.base, last), c.warn)
            << c.base << " " << c.changed << " " << c.known;
    }
    EXPECT_EQ(FirstMessageByteInTuneWrite(0x300), 768u);
    EXPECT_EQ(FirstMessageByteInTuneWrite(0x320), 800u);
    EXPECT_EQ(FirstMessageByteInTuneWrite(0x340), kMessageEnd);
    EXPECT_FALSE(TuneWriteNeedsMessageWarning(image, 0x340, std::nullopt));
}

// Which tune rows each band keeps in the message's bytes, and what storing a line
// would lose: only rows that are not blank and whose bytes the line changes.
TEST(EmbeddedMessage, StoringALineNamesTheTuneRowsItWouldOverwrite) {
    struct Rows {
        int band;
        std::vector<std::vector<std::size_t>> rows;  // {row, line, address}
    } layouts[] = {{136, {{1, 0, 0x300}, {2, 1, 0x330}}},
                   {400, {{1, 0, 0x310}}},
                   {200, {{1, 1, 0x320}}},
                   {350, {{1, 0, 0x300}, {2, 1, 0x330}}}};
    for (const Rows& l : layouts) {
        std::vector<std::vector<std::size_t>> got;
        for (const TuneRowInMessage& r : TuneRowsInMessage(l.band))
            got.push_back({std::size_t(r.row), r.line, r.address});
        EXPECT_EQ(got, l.rows) << l.band;
    }

    struct Case {
        const char* name;
        int band;
        std::size_t line;
        std::string text;
        std::vector<std::pair<std::size_t, std::uint8_t>> bytes;  // set before
        std::vector<int> lost;
    } cases[] = {
        {"blank rows lose nothing", 136, 0, "HELLO", {}, {}},
        {"SQ under line 1", 136, 0, "HELLO", {{0x305, 0x24}}, {1}},
        {"TX High at the end of line 2", 136, 1, std::string(17, 'x'), {{0x330, 0xD2}}, {2}},
        {"line 2 short of TX High", 136, 1, std::string(16, 'x'), {{0x330, 0xD2}}, {}},
        {"zero bytes are calibration too", 136, 0, "A", {{0x300, 0x00}}, {1}},
        {"UHF line 1 text short of SQ", 400, 0, "HELLO", {{0x310, 0x85}}, {}},
        // A tune byte the line shows as a character is cleared when the line ends
        // before it.
        {"UHF SQ byte shown in line 1", 400, 0, "HELLO", {{0x310, 0x24}}, {1}},
        {"UHF long line 1 reaches SQ", 400, 0, std::string(20, 'u'), {{0x310, 0x24}}, {1}},
        {"200 MHz SQ in line 2", 200, 1, "HI", {{0x32F, 0x7F}}, {1}},
        {"200 MHz line 1 is free", 200, 0, std::string(32, 'z'), {{0x32F, 0x7F}}, {}},
        // An unchanged line is never stored, so it loses nothing.
        {"unchanged", 136, 0, "HI", {{0x300, 'H'}, {0x301, 'I'}, {0x30F, 0x85}}, {}},
    };
    for (const Case& c : cases) {
        RadioImage image = blank();
        for (auto [at, b] : c.bytes) image[at] = b;
        EXPECT_EQ(TuneRowsLostByStoring(image, c.band, c.line, c.text), c.lost) << c.name;
    }

    // A line is stored alone and in the bytes it needs: the other line's cells and
    // the bytes the window skips stay; a later cell that would show is cleared.
    RadioImage image = blank();
    for (std::size_t a = 768; a < 832; ++a) image[a] = 0x90;
    image[810] = 'Q';
    SetMessageLine(image, 1, "OK");
    EXPECT_EQ(image[800], 'O');
    EXPECT_EQ(image[802], 0x90);
    EXPECT_EQ(image[810], 0xFF);
    EXPECT_EQ(image[831], 0x90);
    for (std::size_t a = 768; a < 800; ++a) ASSERT_EQ(image[a], 0x90) << a;
    EXPECT_FALSE(MessageLineChanged(image, 1, "OK"));
    EXPECT_TRUE(MessageLineChanged(image, 1, "OK!"));
}
