// What one programming exchange moves: the address range of the area asked for,
// the block order, the end test, the progress figure and the frames on the wire.
#pragma once

#include <cstdint>
#include <string>

#include "core/data_file.h"
#include "core/document.h"
#include "core/software_data.h"
#include "link/protocol.h"

namespace baldo7 {

// Where the identification reply begins among `bytes`: the last place with eight
// bytes from there whose fixed ones are right ("I" at 0, "0" at 2); -1 when there is
// none. Whatever lies ahead of it is stray. The model digit (1) is not held to a
// range: a radio with a blank model record answers 0xFF there and must still be
// read and written.
int FindIdentificationReply(const Bytes& bytes);

struct TransferRange {
    int first = 0;           // first block address
    int end = 0;             // exclusive
    int progressStart = 0;   // where the progress fraction counts from
    bool tuneOrder = false;  // tune write: the band's interleaved table only
};

// The memory a transfer can be asked to move: the data file's image, or one of the
// service tools' ranges.
enum class TransferArea { Data, Tune, StunDie, Special, Local };

// The range `area` moves. A plain read takes the whole image, a plain write stops at
// 0x0300. Tune writes start at the band's table (BandLowMHz) and stop at 0x0400:
// above that the program holds no tune data of its own.
TransferRange AreaRange(TransferArea area, bool read, int bandLowMHz);

// Finished once both halves have reached the end's halves.
bool RangeFinished(int blockAddrHigh, int blockAddrLow, int endAddrHigh, int endAddrLow);

// Moves the block address on by one block; in tune order the page offsets below
// 0xC0 keep to one table of every three (stride 0x30).
void AdvanceBlock(int& blockAddrHigh, int& blockAddrLow, bool tuneOrder);

// f = (next - start) / (end - start), at most 1.
double ProgressFraction(int nextAddress, const TransferRange& range);
// f formatted as "###%": rounded percent without leading zeros, so 0 gives "%".
std::string PercentText(double fraction);

// Radio addresses 0x0000..0x03FF are the image, 0x0400..0x0FFF the service memory.
// True when all 16 bytes of the block at `address` have storage.
bool BlockInStorage(int address);

// The radio's memory as one address space (a document's or a working copy).
struct RadioMemory {
    RadioImage image{};
    ServiceMemory service{};

    static RadioMemory of(const Document& doc);
    void commitTo(Document& doc) const;
    // Only for addresses inside storage (BlockInStorage / below 0x1000).
    std::uint8_t at(int address) const;
    void set(int address, std::uint8_t value);
};

Bytes ReadRequestFrame(int address);
// "W", address, 0x10 and the 16 bytes from `memory` at `address`.
Bytes DataBlockFrame(int address, const RadioMemory& memory);
Bytes DataBlockFrame(int address, const RadioImage& image, const ServiceMemory& service);

// The password block (0x02F0..0x02F5) of a write frame: 0xFF, then the characters
// of the new password. Only frames of blocks 0x02F0..0x02FF are touched.
void SubstitutePassword(Bytes& frame, int address, const std::string& newPassword);

}  // namespace baldo7
