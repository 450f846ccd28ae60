// The embedded message: two lines of 32 one-byte cells at image bytes 768..831.
// The same bytes are the first rows of the factory tune tables, so a plain write
// (which ends at 0x2FF) never sends them, and a tune write must say so first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/radio_image.h"
#include "core/texts.h"

namespace baldo7 {

namespace message_texts {
constexpr BiText kCaption{"Embedded Message", "嵌入信息"};
constexpr BiText kStoredInFile{
    "The message is stored in the data file; Write To Radio does not send it.",
    "信息保存在数据文件中，写频时不发送。"};
// %1: the tune rows ("SQ", "TX High"), %2: the message lines they lie in.
constexpr BiText kTuneWriteWarning{
    "The tune rows %1 are stored in the same bytes as the embedded message (%2), and they "
    "differ from the tune data last read from the radio. Write TuneData stores what this "
    "window shows in the radio's tune tables, message text included. Do you wish continue?",
    "调谐数据行%1与嵌入信息（%2）存放在同一组字节中，且与上次从对讲机读取的调谐数据不同。"
    "写调谐数据会把本窗口显示的值（包括信息文字）写入对讲机的调谐表。是否继续？"};
// %1: the line (1 or 2), %2: the tune rows that would be overwritten.
constexpr BiText kLineOverwritesTune{
    "Line %1 of the message is stored in the same bytes as the tune data row %2 (factory "
    "calibration), which is not blank. Storing the line overwrites that tune data. Do you "
    "wish continue?",
    "信息第%1行与调谐数据行%2（出厂校准）存放在同一组字节中，该行不为空。保存此行将覆盖这些"
    "调谐数据。是否继续？"};
constexpr BiText kLineName{"line %1", "第%1行"};
// Shown in the window the first time a character the radio cannot show is refused.
constexpr BiText kCharactersShown{
    "The radio shows only English letters, digits, the space and the signs of an English "
    "keyboard (! \" # $ % & ' ( ) * + , - . / : ; < = > ? @ [ \\ ] ^ _ ` { | } ~). Other "
    "characters, Chinese among them, cannot be stored.",
    "对讲机只能显示英文字母、数字、空格和英文键盘上的符号（! \" # $ % & ' ( ) * + , - . / : ; "
    "< = > ? @ [ \\ ] ^ _ ` { | } ~），其他字符（包括汉字）无法保存。"};
}  // namespace message_texts

constexpr std::size_t kMessageEnd = addr::kEmbeddedMessageEnd;
constexpr std::size_t kMessageBytes = kMessageEnd - addr::kEmbeddedMessage;
constexpr std::size_t kMessageLineCount = 2;
constexpr std::size_t kMessageLineCells = kMessageBytes / kMessageLineCount;

// Each line as Latin-1 bytes, one byte per character.
using MessageLines = std::array<std::string, kMessageLineCount>;
using MessageRegion = std::array<std::uint8_t, kMessageBytes>;

// Codes the window shows (20..126); every other byte is skipped wherever it stands.
constexpr bool MessageByteShown(unsigned code) {
    return code >= 20 && code <= 126;
}

// The two lines as the window shows them (and the print report prints them).
MessageLines EmbeddedMessageLines(const RadioImage& image);

// Stores one line in as few bytes as it needs: the text packed from the first cell,
// then every later cell that would show a character cleared to 0xFF. The bytes the
// window skips stay (they may be tune data), as do the other line's cells. A line
// longer than 32 bytes is cut; a byte the window would not show back is left out.
void SetMessageLine(RadioImage& image, std::size_t line, const std::string& text);
// Both lines, as above.
void SetEmbeddedMessage(RadioImage& image, const MessageLines& lines);
// Whether storing `text` would change what the line shows. An unchanged line is
// never stored: its cells may be tune data the window does not show.
bool MessageLineChanged(const RadioImage& image, std::size_t line, const std::string& text);

// The tune rows (1 SQ, 2 TX High, 3 TX Low) of the band's table that lie in the
// message's bytes. Bands from 200 MHz: SQ in line 2, cells 1-16. From 400 MHz: SQ in
// line 1, cells 17-32. Every other band (136 MHz): SQ in line 1, cells 1-16, and
// TX High in line 2, cells 17-32.
struct TuneRowInMessage {
    int row = 0;
    std::size_t line = 0;
    std::size_t address = 0;  // of the row's first byte
};
std::vector<TuneRowInMessage> TuneRowsInMessage(int bandLowMHz);
// A tune row is blank when all sixteen of its bytes are 0xFF, the erased state a new
// document's template holds; any other byte is taken for calibration.
bool TuneRowBlank(const RadioImage& image, std::size_t address);
// The rows of which storing `text` in `line` would change a byte.
std::vector<int> TuneRowsTouchedByStoring(const RadioImage& image, int bandLowMHz, std::size_t line,
                                          const std::string& text);
// Those of them that are not blank: what the store would lose.
std::vector<int> TuneRowsLostByStoring(const RadioImage& image, int bandLowMHz, std::size_t line,
                                       const std::string& text);

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
