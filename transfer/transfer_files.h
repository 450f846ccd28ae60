// The files on either side of a transfer: what a write sends (a data file, or a raw
// dump of one range as `read --range` or a backup keeps it) and what a read leaves
// (a data file, or the raw dump of its range).
#pragma once

#include <QString>

#include "core/document.h"
#include "link/transfer_request.h"

namespace baldo7 {

// A write of `area` from a file of `size` bytes sends a raw dump, not a data file:
// stun/die and special always; tune data when the size is a dump's (the read's
// range, the page 0x0300-0x03FF a write sends, or the whole 4096-byte memory).
bool WritesRawDump(TransferArea area, qint64 size);

// A raw dump of `request`'s area into `doc` (which holds the template, so the band
// question has a model to compare), each byte at its radio address; a whole memory
// dump holds them at their own. A tune dump goes back whole: every block of the
// page, not only the rows of the template's band, so `request` gets that range.
// False with `error` saying why.
bool LoadRawDump(Document& doc, TransferRequest& request, const QString& path, QString* error);

// What a read of `request` left in `doc` into `path`: the data file, or the raw dump
// of the range it moved. Returns what was written ("radio.rdat: VHF: 136 - 174 MHz",
// "tune.bin: tune 0x0300-0x0FFF, 3328 bytes"), or "" with `error`.
QString SaveReadResult(Document& doc, const TransferRequest& request, const QString& path,
                       QString* error);

}  // namespace baldo7
