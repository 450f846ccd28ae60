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

TEST(EmbeddedMessage, EncodeRewritesTheWholeRegionPacked) {
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
