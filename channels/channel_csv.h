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

#include "channels/channel_record.h"
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
    DuplicateLocation,  // the channel was taken by an earlier row
    BadFrequency,       // Frequency or Offset is no number of MHz on a 10 Hz step
    RxOutOfBand,
    TxOutOfBand,
    BadDuplex,
    UnknownTone,
    BadValue,                // Mode, Skip, Power or one of the radio's own columns
    SpecialCodeUnsupported,  // CdcssMode "Special Code" on a radio without it
    ModeUnsupported,         // AM, WFM, DV, DMR ...: the radio has FM and NFM only
    NoChannelLeft,           // placing in order ran past the last channel
    UnclosedQuote            // a field opens a quote the file never closes
};

struct CsvSkip {
    int line = 0;  // 1-based line of the input where the row starts
    CsvProblem problem = CsvProblem::BadValue;
    std::string column;     // the column at fault
    int gridColumn = 0;     // text read in the grid's column order: the grid column (1..7)
    std::string value;      // its text, or the frequency in MHz for the band problems
    int low = 0, high = 0;  // band limits (MHz) or the earlier line of a duplicate
};

// One row as it will land: its channel, built whole from these values.
struct CsvChannel {
    int line = 0;
    int channel = 0;
    bool empty = false;  // a blank Frequency: the channel is emptied
    FrequencyBytes rx{};
    bool hasTx = false;  // false: the transmit side is removed ("off")
    FrequencyBytes tx{};
    ToneCode rxTone, txTone;
    int spacing = 1, power = 1;  // list indices: 1 wide, 1 high
    bool scan = true;
    int busyLock = 0, scrambleType = 0, cdcssMode = 0;
    bool scrambleOn = false, compand = false;
    std::string powerMapped;  // the Power text when it was no level of the radio ("4.0W")
};

// Power texts that name no level of the radio, and the level each became.
struct CsvPowerMapping {
    std::string given;  // as first met ("4.0W", "Mid")
    bool watts = false;
    int power = 0;  // 0 low, 1 high
    int count = 0;  // rows that land with it
};

struct CsvImportOptions {
    // Location is ignored: the rows that land go to channels first, first + 1, ... in
    // file order; a row refused for its own values takes no channel.
    bool renumber = false;
    int first = 1;
};

// What an import does, worked out before anything changes (a preview shows it, then
// applies it). The same value reports the import once it is applied.
struct CsvPlan {
    bool usable = false;  // the text had a header with a Frequency column
    std::vector<CsvChannel> rows;
    std::vector<int> taken;  // the channels of rows, in row order
    std::vector<CsvSkip> skipped;
    std::vector<CsvPowerMapping> powerMapped;
    bool zeroBased = false;  // placed by Location, and a row gave Location 0
};
using CsvImport = CsvPlan;

// Rows into the document's channels by their Location (rows in order from channel 1
// when there is no Location column), or in order with `options.renumber`. Text
// without a usable header plans nothing.
// A tone code column is taken only when its bytes show the same tone as the tone
// columns (an edited tone wins over the old bytes).
// Columns that are missing or blank take the new-channel defaults (no tones, wide,
// high power, scanned); the radio's own columns keep the channel's current value
// when it is in use. A blank Frequency empties the channel (a row that ends before
// the Frequency column is skipped). Only rows that land claim their channel: a later
// row for the channel of a refused row is taken, and of two rows that would both land
// on one channel the later is skipped.
CsvPlan PlanChannelsCsv(const Document& doc, const std::string& text,
                        const CsvImportOptions& options = {});
// Pasted rows into channels first, first + 1, ... in row order, one channel per row
// (a refused row leaves its channel as it was); Location is ignored. Text without a
// header is read in the order of the grid's columns (receive, transmit, decode,
// encode, power, scan, spacing) as the grid shows them in either language, which is
// what copying rows out of the grid gives: a row whose cells are all blank empties
// its channel, a row that stops after the receive frequency transmits on it, a blank
// transmit cell removes the transmit side. A first row of the grid's own headers
// gives the order instead.
CsvPlan PlanPastedRows(const Document& doc, const std::string& text, int first);
// Writes the planned rows; the document must be the one the plan was made from.
void ApplyCsvPlan(Document& doc, const CsvPlan& plan);

CsvImport ImportChannelsCsv(Document& doc, const std::string& text,
                            const CsvImportOptions& options = {});
CsvImport PasteChannelRows(Document& doc, const std::string& text, int first);

// "Line 7: ..." in the chosen language.
std::string DescribeCsvSkip(const CsvSkip& skip, bool isEnglish);
// The same without the line.
std::string DescribeCsvProblem(const CsvSkip& skip, bool isEnglish);
// One line per kind of mapped power value: "3 power values given in watts were
// mapped: 4.0W → High, 1.0W → Low". Empty when none was mapped.
std::string DescribePowerMapping(const CsvPlan& plan, bool isEnglish);
// "Channels imported: 14. Rows skipped: 2.", the mapped power values and one line per
// skipped row.
std::string DescribeCsvImport(const CsvImport& result, bool isEnglish);

}  // namespace baldo7
