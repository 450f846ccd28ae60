// Channel lists as comma- or tab-separated text in the column layout that
// spreadsheets and other programming tools share. Export writes one row per channel;
// import reads tolerantly (byte-order mark, quotes, any column order, comments, tabs,
// "," or "." decimals) and builds each channel it takes whole, through the channel
// codecs. A row that cannot be taken is skipped and reported, never bent to fit.
// Plain C++: the GUI and baldo7ctl only move the text.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/document.h"

namespace baldo7 {

// The export header, in order. RxToneCode and TxToneCode carry a tone's two stored
// bytes ("0x" and four hex digits, high byte first) only where the tone columns
// alone would not bring the same bytes back (bits the tone code does not use).
constexpr std::array<const char*, 28> kCsvColumns = {
    "Location",  "Name",      "Frequency",  "Duplex",       "Offset",       "Tone",
    "rToneFreq", "cToneFreq", "DtcsCode",   "DtcsPolarity", "RxDtcsCode",   "CrossMode",
    "Mode",      "TStep",     "Skip",       "Power",        "Comment",      "URCALL",
    "RPT1CALL",  "RPT2CALL",  "DVCODE",     "BusyLock",     "ScrambleType", "Scrambler",
    "Compander", "CdcssMode", "RxToneCode", "TxToneCode"};

// Header and one row per channel in use, "\n" after every line.
std::string ExportChannelsCsv(const RadioImage& image, char delimiter = ',');
// Header and channels first..last, empty ones as a row holding only their Location
// (a pasted empty row empties its channel). For copying grid rows.
std::string ExportChannelRows(const RadioImage& image, int first, int last, char delimiter);

enum class CsvProblem {
    BadLocation,        // not a channel 1..16 (a paste running past channel 16 too)
    DuplicateLocation,  // the channel was named by an earlier row
    BadFrequency,       // Frequency or Offset is no number of MHz on a 10 Hz step
    RxOutOfBand,
    TxOutOfBand,
    BadDuplex,
    UnknownTone,
    BadValue,               // Mode, Skip, Power or one of the radio's own columns
    SpecialCodeUnsupported  // CdcssMode "Special Code" on a radio without it
};

struct CsvSkip {
    int line = 0;  // 1-based line of the input where the row starts
    CsvProblem problem = CsvProblem::BadValue;
    std::string column;     // the column at fault
    std::string value;      // its text, or the frequency in MHz for the band problems
    int low = 0, high = 0;  // band limits (MHz) or the earlier line of a duplicate
};

struct CsvImport {
    bool usable = false;     // the text had a header with a Frequency column
    std::vector<int> taken;  // channels written, in row order
    std::vector<CsvSkip> skipped;
};

// Rows into the document's channels by their Location (rows in order from channel 1
// when there is no Location column). Text without a usable header changes nothing.
// A tone code column is taken only when its bytes show the same tone as the tone
// columns (an edited tone wins over the old bytes).
// Columns that are missing or blank take the new-channel defaults (no tones, wide,
// high power, scanned); the radio's own columns keep the channel's current value
// when it is in use. A blank Frequency empties the channel (a row that ends before
// the Frequency column is skipped).
CsvImport ImportChannelsCsv(Document& doc, const std::string& text);
// Pasted rows into channels first, first + 1, ... in row order; Location is ignored.
// Text without a header is read in the export column order.
CsvImport PasteChannelRows(Document& doc, const std::string& text, int first);

// "Line 7: ..." in the chosen language.
std::string DescribeCsvSkip(const CsvSkip& skip, bool isEnglish);
// "Channels imported: 14. Rows skipped: 2." and one line per skipped row.
std::string DescribeCsvImport(const CsvImport& result, bool isEnglish);

}  // namespace baldo7
