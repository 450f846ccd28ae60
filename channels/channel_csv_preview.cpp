#include "channels/channel_csv_preview.h"

#include <algorithm>

#include "core/pick_lists.h"
#include "core/texts.h"

namespace baldo7 {

namespace {
constexpr BiText kEmptied{"(emptied)", "（清空）"};
}  // namespace

std::vector<CsvPreviewRow> CsvPreviewRows(const CsvPlan& plan, bool isEnglish, char separator) {
    const PickList power = PowerList(isEnglish), scan = ScanList(isEnglish),
                   spacing = SpacingList(isEnglish, separator);
    std::vector<const CsvChannel*> byChannel;
    for (const CsvChannel& c : plan.rows) byChannel.push_back(&c);
    std::stable_sort(
        byChannel.begin(), byChannel.end(),
        [](const CsvChannel* a, const CsvChannel* b) { return a->channel < b->channel; });
    std::vector<CsvPreviewRow> out;
    out.reserve(byChannel.size());
    for (const CsvChannel* p : byChannel) {
        const CsvChannel& c = *p;
        CsvPreviewRow row;
        row.channel = std::to_string(c.channel);
        row.line = std::to_string(c.line);
        if (c.empty) {
            row.rx = kEmptied.pick(isEnglish);
        } else {
            row.rx = FrequencyToText(c.rx, separator);
            if (c.hasTx) row.tx = FrequencyToText(c.tx, separator);
            row.decode = ToneToText(c.rxTone, isEnglish, separator);
            row.encode = ToneToText(c.txTone, isEnglish, separator);
            row.power = power[std::size_t(c.power)];
            // The text the level came from, where it named none of the radio's.
            if (!c.powerMapped.empty()) row.power += " (" + c.powerMapped + ")";
            row.scan = scan[c.scan ? 0 : 1];
            row.spacing = spacing[std::size_t(c.spacing)];
        }
        out.push_back(std::move(row));
    }
    return out;
}

std::vector<CsvPreviewSkip> CsvPreviewSkips(const CsvPlan& plan, bool isEnglish) {
    std::vector<CsvPreviewSkip> out;
    out.reserve(plan.skipped.size());
    for (const CsvSkip& s : plan.skipped)
        out.push_back({std::to_string(s.line), DescribeCsvProblem(s, isEnglish)});
    return out;
}

}  // namespace baldo7
