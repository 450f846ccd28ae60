// The factory tune data of image page 0x0300..0x03FF: per frequency point a squelch
// level and two transmit power levels (three tables interleaved 0x30 apart from the
// band's base), eight squelch threshold pairs and the maximum deviation.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/radio_image.h"

namespace baldo7 {

constexpr int kTunePoints = 16;
constexpr int kTuneRows = 3;  // SQ, TX High, TX Low
constexpr int kDetections = 8;
constexpr int kTuneByteMax = 255;
constexpr int kSqMax = 127;             // row 1 keeps the low seven bits only
constexpr int kThresholdMax = 127;      // a low threshold: the low seven bits of L
constexpr int kHighThresholdMax = 511;  // a high threshold: H * 2 + the top bit of L
constexpr int kDeviationMax = 127;

struct TunePoints {
    std::array<int, kTunePoints> mhz{};   // column k at [k - 1]
    int rxLimitColumn = kTunePoints + 1;  // first column from 2 on above BandHighMHz
    int txLimitColumn = kTunePoints + 1;  // first column from 2 on above BandTxHighMHz
};
TunePoints ComputeTunePoints(int bandLowMHz, int bandHighMHz, int bandTxHighMHz);
// Row 0's text of column 1..16; the last column carries "≥" (UTF-8).
std::string TunePointText(const TunePoints& points, int column);

// Rows 1..3, columns 1..16 of the tune grid.
int TuneCellAddress(int base, int row, int column);
int TuneCellValue(const RadioImage& image, int base, int row, int column);
bool TuneCellEditable(const TunePoints& points, int row, int column);
// What an entered value becomes: at most 255, in row 1 at most 127.
int CapTuneValue(int row, int value);
// Row 1 keeps the top bit of its byte, which the cell does not show.
void StoreTuneCell(RadioImage& image, int base, int row, int column, int value);

// Detection column k (1..8): the pair (H, L) at base + 0x90 + 2(k - 1).
struct Threshold {
    int high = 0;  // H * 2 + top bit of L
    int low = 0;   // low seven bits of L
};
Threshold DecodeThreshold(std::uint8_t h, std::uint8_t l);
Threshold ThresholdAt(const RadioImage& image, int base, int detection);
// Row 1 (high, capped at 511) or 2 (low, capped at 127) of the threshold grid; the
// other threshold's bits of L are kept.
void StoreThreshold(RadioImage& image, int base, int row, int detection, int value);
int CapThresholdValue(int row, int value);

// Byte 0x03C0 in 0.1 kHz; empty text stores 0, above 127 stores 127.
int MaxDeviation(const RadioImage& image);
int CapDeviationValue(int value);

// Where the floating editor goes after Enter. grid 0 is the tune grid, 1 the
// threshold grid; row 0 means the editor stops.
struct TuneCell {
    int grid = 0;
    int row = 0;
    int column = 0;
};
TuneCell NextCellAfterEnter(const TunePoints& points, TuneCell from);

// The rows of the tune window, for the command line.
struct TuneView {
    TunePoints points;
    std::array<std::array<int, kTunePoints>, kTuneRows> rows{};
    std::array<Threshold, kDetections> thresholds{};
    int maxDeviation = 0;
};
TuneView DecodeTune(const RadioImage& image, int bandLowMHz, int bandHighMHz, int bandTxHighMHz);

}  // namespace baldo7
