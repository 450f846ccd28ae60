// Verify after write: what a write put on the wire, the range that reads it back,
// and the comparison of the two. The read-back itself is an ordinary read exchange
// over that range (Exchange::setRange).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "link/transfer_ranges.h"

namespace baldo7 {

// One data block as it went out: after the password substitution and the VOX-level
// clearing, so the radio should hold exactly these bytes.
struct WrittenBlock {
    int address = 0;
    std::array<std::uint8_t, kBlockSize> data{};
};
using WrittenBlocks = std::vector<WrittenBlock>;

// The data blocks among the frames a write sent (or a read took in); other frames
// are skipped.
void RecordWrittenFrame(WrittenBlocks& blocks, const Bytes& frame);

// From the lowest block written to the end of the highest, read in order. A tune
// write skips blocks inside it; they are read and not compared.
TransferRange ReadBackRange(const WrittenBlocks& blocks);

struct ByteDifference {
    int address = 0;
    std::uint8_t written = 0;
    int returned = -1;  // -1: the radio returned no block for the address
};

struct VerifyResult {
    static constexpr int kAddressesNamed = 8;
    int differing = 0;                  // bytes that differ
    std::vector<int> firstAddresses;    // the first of them, at most kAddressesNamed
    std::vector<ByteDifference> bytes;  // every one of them, in address order
    bool ok() const { return differing == 0; }
};

// Compares every written byte with the byte the radio returned for its address; a
// block written twice (after a restart) counts once, as last sent. A written block
// the radio returned nothing for differs in all its bytes.
VerifyResult CompareReadBack(const WrittenBlocks& written, const WrittenBlocks& returned);

// "Verify failed: 2 bytes differ from what was written, first at 0x0050, 0x0051"
std::string VerifyReportText(const VerifyResult& result, bool english);

}  // namespace baldo7
