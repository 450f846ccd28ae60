// What a caller asks of one transfer: a value handed to the exchange (and to the
// workflow around it), never state left in the document for someone else to find.
#pragma once

#include <optional>
#include <string>

#include "link/transfer_ranges.h"

namespace baldo7 {

enum class TransferDirection { Read, Write };

struct TransferRequest {
    TransferDirection direction = TransferDirection::Read;
    TransferArea area = TransferArea::Data;
    // Moves exactly this range instead of the area's (a verified write's read-back, a
    // raw tune dump written whole). A read of it takes only blocks naming the address
    // asked for: any other is a link error.
    std::optional<TransferRange> range;
    // A write: once it completed, read the blocks sent back and compare them.
    bool verify = false;

    static TransferRequest read(TransferArea area = TransferArea::Data) {
        return {TransferDirection::Read, area, std::nullopt, false};
    }
    static TransferRequest write(TransferArea area = TransferArea::Data, bool verify = false) {
        return {TransferDirection::Write, area, std::nullopt, verify};
    }

    bool reading() const { return direction == TransferDirection::Read; }
    // The range this request moves for a radio of the document's band.
    TransferRange moves(int bandLowMHz) const {
        return range ? *range : AreaRange(area, reading(), bandLowMHz);
    }
};

// "tune", "stundie", "special", "local": the names the command line and the backup
// files use; "" for the data file's image.
const char* TransferAreaName(TransferArea area);
// The area of a name TransferAreaName gives; nothing for any other text ("" too).
std::optional<TransferArea> TransferAreaNamed(const std::string& name);

}  // namespace baldo7
