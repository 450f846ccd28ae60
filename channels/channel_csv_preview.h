// What the import preview shows of a plan: one line of text per row that lands, in
// the grid's own terms and language, and one per row that is skipped. Plain C++.
#pragma once

#include <string>
#include <vector>

#include "channels/channel_csv.h"

namespace baldo7 {

struct CsvPreviewRow {
    std::string channel, line;
    // As the grid will show the channel; an emptied channel says so in `rx`.
    std::string rx, tx, decode, encode, power, scan, spacing;
};

struct CsvPreviewSkip {
    std::string line, reason;
};

// By channel.
std::vector<CsvPreviewRow> CsvPreviewRows(const CsvPlan& plan, bool isEnglish, char separator);
// In the order of the text.
std::vector<CsvPreviewSkip> CsvPreviewSkips(const CsvPlan& plan, bool isEnglish);

}  // namespace baldo7
