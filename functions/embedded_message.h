// The embedded message: two lines of 32 one-byte cells at image bytes 768..831.
// The same bytes are the first rows of the factory tune tables, so a plain write
// (which ends at 0x2FF) never sends them, and a tune write must say so first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/radio_image.h"
#include "core/texts.h"

namespace baldo7 {

namespace message_texts {
constexpr BiText kCaption{"Embedded Message", "嵌入信息"};
constexpr BiText kStoredInFile{
    "The message is stored in the data file; Write To Radio does not send it.",
    "信息保存在数据文件中，写频时不发送。"};
constexpr BiText kTuneWriteWarning{
    "Bytes 768-831 hold the embedded message as well as tune data, and they differ from the "
    "tune data last read from the radio. Writing tune data will store them in the radio's tune "
    "tables. Do you wish continue?",
    "768-"
    "831字节既是嵌入信息也是调谐数据，且与上次从对讲机读取的调谐数据不同。写调谐数据会把它们写入"
    "对讲机的调谐表。是否继续？"};
}  // namespace message_texts

constexpr std::size_t kMessageLineCount = 2;
constexpr std::size_t kMessageLineCells = 32;
constexpr std::size_t kMessageBytes = kMessageLineCount * kMessageLineCells;
constexpr std::size_t kMessageEnd = addr::kEmbeddedMessage + kMessageBytes;  // one past 831

// Each line as Latin-1 bytes, one byte per character.
using MessageLines = std::array<std::string, kMessageLineCount>;
using MessageRegion = std::array<std::uint8_t, kMessageBytes>;

// Codes the window shows (20..126); every other byte is skipped wherever it stands.
constexpr bool MessageByteShown(unsigned code) {
    return code >= 20 && code <= 126;
}

// The two lines as the window shows them (and the print report prints them).
MessageLines EmbeddedMessageLines(const RadioImage& image);

// Rewrites the whole region: 0xFF everywhere, then each line packed from its first
// cell. A line longer than 32 bytes is cut; a byte the window would not show back
// is left out rather than stored.
void SetEmbeddedMessage(RadioImage& image, const MessageLines& lines);

MessageRegion MessageRegionOf(const RadioImage& image);

// Whether the region holds a message: some text, stored as storing the shown lines
// would store it (packed from each line's first cell, 0xFF after). Tune data that
// fills the region (a radio without a message) is not one, even where its bytes
// happen to be displayable.
bool HoldsEmbeddedMessage(const RadioImage& image);

// The image addresses of the message a tune write of the table at `tableBase`
// (0x300, 0x310 or 0x320) sends: [first, kMessageEnd).
std::size_t FirstMessageByteInTuneWrite(std::size_t tableBase);

// Whether a tune write must ask before it goes: the message bytes it sends are not
// known to be what the radio holds. `lastRead` is the region as last read from the
// radio; without one nothing is known and the answer is yes.
bool TuneWriteNeedsMessageWarning(const RadioImage& image, std::size_t tableBase,
                                  const std::optional<MessageRegion>& lastRead);

}  // namespace baldo7
