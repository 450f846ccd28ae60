#include "compare/verify_report.h"

#include <QStringList>
#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "channels/channel_record.h"
#include "core/texts.h"

namespace baldo7 {

namespace {
constexpr int kPlacesNamed = 6;

constexpr BiText kDiffersIn{"Not as written in the radio: %1.", "对讲机中与写入不一致的设置：%1。"};
constexpr BiText kMore{"%1 and %2 more", "%1 等 %2 项"};
constexpr BiText kWhatToDo{
    "Write again. If it fails again, check that the cable is plugged in firmly at both "
    "ends and that the radio's battery is charged.",
    "请重新写频。如果仍然失败，请检查编程线两端是否插牢、对讲机电池电量是否充足。"};
}  // namespace

std::vector<Difference> VerifyDifferences(const Document& written, const VerifyResult& result,
                                          bool isEnglish) {
    // Two copies that differ only where the radio did: as sent and as returned.
    Document sent = written, returned = written;
    for (const ByteDifference& b : result.bytes) {
        if (b.address < 0 || static_cast<std::size_t>(b.address) >= kImageSize) continue;
        const auto at = static_cast<std::size_t>(b.address);
        sent.radioImage[at] = b.written;
        returned.radioImage[at] =
            static_cast<std::uint8_t>(b.returned >= 0 ? b.returned : b.written ^ 0xFF);
    }
    return CompareDocuments(sent, returned, isEnglish);
}

namespace {
// "Not as written in the radio: Channel 5: Rx Frequency; …." — the settings of
// `written` the differing bytes belong to; empty when they belong to none.
QString NotAsWrittenLine(const VerifyResult& result, const Document& written, bool isEnglish) {
    // In the editors' order: model and band, the channels by number, the rest.
    std::vector<std::pair<int, QString>> found;
    std::set<int> channelsNamed;
    for (const Difference& d : VerifyDifferences(written, result, isEnglish)) {
        const bool channel = d.section == QLatin1String("channels");
        const bool head = d.section == QLatin1String("model") || d.section == "band";
        // A channel found in use on one side only is named by itself: "Channel 4: In
        // Use" would read as if the radio held it in use.
        const bool wholeChannel = channel && d.field == QLatin1String("inUse");
        found.emplace_back(channel ? d.item
                           : head  ? 0
                                   : kChannelCount + 1,
                           wholeChannel
                               ? DifferencePlace(d, isEnglish)
                               : DifferencePlace(d, isEnglish) +
                                     (isEnglish ? QStringLiteral(": ") : QStringLiteral("：")) +
                                     DifferenceCaption(d, isEnglish));
        if (channel) channelsNamed.insert(d.item);
    }
    // A channel whose bytes the editors show alike either way (an unused one) is
    // still named, by itself.
    const int table = static_cast<int>(ChannelStart(1));
    for (const ByteDifference& b : result.bytes) {
        const int channel = 1 + (b.address - table) / static_cast<int>(kChannelRecordSize);
        if (b.address < table || !IsChannelNumber(channel) || !channelsNamed.insert(channel).second)
            continue;
        found.emplace_back(
            channel, DifferencePlace(Difference{QStringLiteral("channels"), channel, {}, {}, {}},
                                     isEnglish));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList places;
    for (const auto& f : found)
        if (!places.contains(f.second)) places << f.second;
    if (!places.isEmpty()) {
        const qsizetype more = places.size() - kPlacesNamed;
        QString named = places.mid(0, kPlacesNamed)
                            .join(isEnglish ? QStringLiteral("; ") : QStringLiteral("；"));
        if (more > 0) named = QString::fromUtf8(kMore.pick(isEnglish)).arg(named).arg(more);
        return QString::fromUtf8(kDiffersIn.pick(isEnglish)).arg(named);
    }
    return QString();
}

}  // namespace

QString VerifyFailureText(const VerifyResult& result, const Document* written, bool isEnglish) {
    QString text = QString::fromStdString(VerifyReportText(result, isEnglish));
    if (result.ok()) return text;
    const QString places = written ? NotAsWrittenLine(result, *written, isEnglish) : QString();
    if (!places.isEmpty()) text += QLatin1Char('\n') + places;
    return text + QLatin1Char('\n') + QString::fromUtf8(kWhatToDo.pick(isEnglish));
}

QString VerifyLogText(const VerifyResult& result, const Document* written) {
    QString text = QString::fromStdString(VerifyReportText(result, true));
    const QString places =
        written && !result.ok() ? NotAsWrittenLine(result, *written, true) : QString();
    return places.isEmpty() ? text : text + QStringLiteral("; ") + places;
}

}  // namespace baldo7
