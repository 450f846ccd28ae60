#include "functions/embedded_message.h"

#include <algorithm>

#include "service/tune_data.h"

namespace baldo7 {

MessageLines EmbeddedMessageLines(const RadioImage& image) {
    MessageLines lines;
    for (std::size_t a = 0; a < kMessageBytes; ++a) {
        const std::uint8_t b = image[addr::kEmbeddedMessage + a];
        if (MessageByteShown(b)) lines[a / kMessageLineCells].push_back(static_cast<char>(b));
    }
    return lines;
}

void SetMessageLine(RadioImage& image, std::size_t line, const std::string& text) {
    if (line >= kMessageLineCount) return;
    const auto cells = image.begin() + addr::kEmbeddedMessage + line * kMessageLineCells;
    std::size_t cell = 0;
    for (const char c : text) {
        if (cell == kMessageLineCells) break;
        const auto code = static_cast<unsigned char>(c);
        if (MessageByteShown(code)) cells[cell++] = code;
    }
    // A later cell that would show a character is cleared; the others (tune data the
    // window skips) keep their bytes.
    for (; cell < kMessageLineCells; ++cell)
        if (MessageByteShown(cells[cell])) cells[cell] = 0xFF;
}

void SetEmbeddedMessage(RadioImage& image, const MessageLines& lines) {
    for (std::size_t line = 0; line < kMessageLineCount; ++line)
        SetMessageLine(image, line, lines[line]);
}

bool MessageLineChanged(const RadioImage& image, std::size_t line, const std::string& text) {
    return line < kMessageLineCount && EmbeddedMessageLines(image)[line] != text;
}

std::vector<TuneRowInMessage> TuneRowsInMessage(int bandLowMHz) {
    const auto base = static_cast<std::size_t>(TuneTableBase(bandLowMHz));
    std::vector<TuneRowInMessage> rows;
    for (int row = 1; row <= kTuneRows; ++row) {
        const std::size_t first = base + addr::kTuneRowStride * static_cast<std::size_t>(row - 1);
        if (first >= addr::kEmbeddedMessage && first + kTunePoints <= kMessageEnd)
            rows.push_back({row, (first - addr::kEmbeddedMessage) / kMessageLineCells, first});
    }
    return rows;
}

bool TuneRowBlank(const RadioImage& image, std::size_t address) {
    return std::all_of(image.begin() + address, image.begin() + address + kTunePoints,
                       [](std::uint8_t b) { return b == 0xFF; });
}

std::vector<int> TuneRowsTouchedByStoring(const RadioImage& image, int bandLowMHz, std::size_t line,
                                          const std::string& text) {
    std::vector<int> touched;
    if (!MessageLineChanged(image, line, text)) return touched;
    RadioImage stored = image;
    SetMessageLine(stored, line, text);
    for (const TuneRowInMessage& r : TuneRowsInMessage(bandLowMHz)) {
        const auto first = static_cast<std::ptrdiff_t>(r.address);
        if (!std::equal(image.begin() + first, image.begin() + first + kTunePoints,
                        stored.begin() + first))
            touched.push_back(r.row);
    }
    return touched;
}

std::vector<int> TuneRowsLostByStoring(const RadioImage& image, int bandLowMHz, std::size_t line,
                                       const std::string& text) {
    std::vector<int> lost;
    const auto base = static_cast<std::size_t>(TuneTableBase(bandLowMHz));
    for (const int row : TuneRowsTouchedByStoring(image, bandLowMHz, line, text))
        if (!TuneRowBlank(image, base + addr::kTuneRowStride * static_cast<std::size_t>(row - 1)))
            lost.push_back(row);
    return lost;
}

MessageRegion MessageRegionOf(const RadioImage& image) {
    MessageRegion r;
    std::copy_n(image.begin() + addr::kEmbeddedMessage, kMessageBytes, r.begin());
    return r;
}

bool HoldsEmbeddedMessage(const RadioImage& image) {
    const MessageLines lines = EmbeddedMessageLines(image);
    if (lines[0].empty() && lines[1].empty()) return false;
    // As a message is stored in a blank region: each line packed, 0xFF after it.
    RadioImage stored = image;
    std::fill_n(stored.begin() + addr::kEmbeddedMessage, kMessageBytes, std::uint8_t{0xFF});
    SetEmbeddedMessage(stored, lines);
    return MessageRegionOf(stored) == MessageRegionOf(image);
}

std::size_t FirstMessageByteInTuneWrite(std::size_t tableBase) {
    return std::min(std::max(tableBase, addr::kEmbeddedMessage), kMessageEnd);
}

bool TuneWriteNeedsMessageWarning(const RadioImage& image, std::size_t tableBase,
                                  const std::optional<MessageRegion>& lastRead) {
    const std::size_t first = FirstMessageByteInTuneWrite(tableBase);
    if (first == kMessageEnd) return false;
    if (!lastRead) return true;
    for (std::size_t a = first; a < kMessageEnd; ++a)
        if (image[a] != (*lastRead)[a - addr::kEmbeddedMessage]) return true;
    return false;
}

}  // namespace baldo7
