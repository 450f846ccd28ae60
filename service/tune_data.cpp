#include "service/tune_data.h"

#include <algorithm>

namespace baldo7 {

TunePoints ComputeTunePoints(int bandLowMHz, int bandHighMHz, int bandTxHighMHz) {
    TunePoints p;
    // Tens kept, units 5 when they are 5 or more, else 0.
    const int first = bandLowMHz / 10 * 10 + (bandLowMHz % 10 >= 5 ? 5 : 0);
    const int step = bandLowMHz == 400 ? 10 : 5;
    p.mhz[0] = bandLowMHz;
    for (int k = 2; k <= kTunePoints; ++k) p.mhz[k - 1] = first + (k - 1) * step;
    for (int k = kTunePoints; k >= 2; --k) {
        if (p.mhz[k - 1] > bandHighMHz) p.rxLimitColumn = k;
        if (p.mhz[k - 1] > bandTxHighMHz) p.txLimitColumn = k;
    }
    return p;
}

std::string TunePointText(const TunePoints& points, int column) {
    std::string text = std::to_string(points.mhz[column - 1]);
    if (column == kTunePoints) text += "\u2265";
    return text;
}

int TuneCellAddress(int base, int row, int column) {
    return base + static_cast<int>(addr::kTuneRowStride) * (row - 1) + (column - 1);
}

int TuneCellValue(const RadioImage& image, int base, int row, int column) {
    const int value = image[static_cast<std::size_t>(TuneCellAddress(base, row, column))];
    return row == 1 ? (value & 0x7F) : value;
}

bool TuneCellEditable(const TunePoints& points, int row, int column) {
    if (row < 1 || row > kTuneRows || column < 1 || column > kTunePoints) return false;
    return column < (row == 1 ? points.rxLimitColumn : points.txLimitColumn);
}

int CapTuneValue(int row, int value) {
    return std::clamp(value, 0, row == 1 ? kSqMax : kTuneByteMax);
}

void StoreTuneCell(RadioImage& image, int base, int row, int column, int value) {
    std::uint8_t& b = image[static_cast<std::size_t>(TuneCellAddress(base, row, column))];
    const int v = CapTuneValue(row, value);
    b = static_cast<std::uint8_t>(row == 1 ? (b & 0x80) | v : v);
}

Threshold DecodeThreshold(std::uint8_t h, std::uint8_t l) {
    return {h * 2 + (l >> 7), l & 0x7F};
}

static std::size_t pairAddress(int base, int detection) {
    return static_cast<std::size_t>(base + static_cast<int>(addr::kTuneThresholds) +
                                    2 * (detection - 1));
}

Threshold ThresholdAt(const RadioImage& image, int base, int detection) {
    const std::size_t a = pairAddress(base, detection);
    return DecodeThreshold(image[a], image[a + 1]);
}

int CapThresholdValue(int row, int value) {
    return std::clamp(value, 0, row == 1 ? kHighThresholdMax : kThresholdMax);
}

void StoreThreshold(RadioImage& image, int base, int row, int detection, int value) {
    const std::size_t a = pairAddress(base, detection);
    const int v = CapThresholdValue(row, value);
    std::uint8_t& l = image[a + 1];
    if (row == 1) {
        image[a] = static_cast<std::uint8_t>(v / 2);
        l = static_cast<std::uint8_t>((l & 0x7F) | ((v % 2) << 7));
    } else {
        l = static_cast<std::uint8_t>((l & 0x80) | v);
    }
}

int MaxDeviation(const RadioImage& image) {
    return image[addr::kMaxDeviation];
}

int CapDeviationValue(int value) {
    return std::clamp(value, 0, kDeviationMax);
}

TuneCell NextCellAfterEnter(const TunePoints& points, TuneCell from) {
    if (from.grid == 1) {
        if (from.row == 1) return {1, 2, from.column};
        if (from.column < kDetections) return {1, 1, from.column + 1};
        return {1, 0, 0};
    }
    if (TuneCellEditable(points, from.row, from.column + 1)) return {0, from.row, from.column + 1};
    if (from.row < kTuneRows) return {0, from.row + 1, 1};
    return {1, 1, 1};
}

TuneView DecodeTune(const RadioImage& image, int bandLowMHz, int bandHighMHz, int bandTxHighMHz) {
    TuneView v;
    v.points = ComputeTunePoints(bandLowMHz, bandHighMHz, bandTxHighMHz);
    const int base = TuneTableBase(bandLowMHz);
    for (int r = 1; r <= kTuneRows; ++r)
        for (int c = 1; c <= kTunePoints; ++c)
            v.rows[r - 1][c - 1] = TuneCellValue(image, base, r, c);
    for (int k = 1; k <= kDetections; ++k) v.thresholds[k - 1] = ThresholdAt(image, base, k);
    v.maxDeviation = MaxDeviation(image);
    return v;
}

}  // namespace baldo7
