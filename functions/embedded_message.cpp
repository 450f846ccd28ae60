#include "functions/embedded_message.h"

#include <algorithm>

namespace baldo7 {

MessageLines EmbeddedMessageLines(const RadioImage& image) {
    MessageLines lines;
    for (std::size_t a = 0; a < kMessageBytes; ++a) {
        const std::uint8_t b = image[addr::kEmbeddedMessage + a];
        if (MessageByteShown(b)) lines[a / kMessageLineCells].push_back(static_cast<char>(b));
    }
    return lines;
}

void SetEmbeddedMessage(RadioImage& image, const MessageLines& lines) {
    const auto region = image.begin() + addr::kEmbeddedMessage;
    std::fill(region, region + kMessageBytes, std::uint8_t{0xFF});
    for (std::size_t line = 0; line < kMessageLineCount; ++line) {
        std::size_t cell = 0;
        for (const char c : lines[line]) {
            if (cell == kMessageLineCells) break;
            const auto code = static_cast<unsigned char>(c);
            if (!MessageByteShown(code)) continue;
            region[line * kMessageLineCells + cell++] = code;
        }
    }
}

MessageRegion MessageRegionOf(const RadioImage& image) {
    MessageRegion r;
    std::copy_n(image.begin() + addr::kEmbeddedMessage, kMessageBytes, r.begin());
    return r;
}

bool HoldsEmbeddedMessage(const RadioImage& image) {
    const MessageLines lines = EmbeddedMessageLines(image);
    if (lines[0].empty() && lines[1].empty()) return false;
    RadioImage stored = image;
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
