// What differs between two documents, in the terms the editors use: the model and
// band, each channel by column, the functions, the keys, the scan settings and the
// embedded message. Built on DescribeDocument, so a difference names its field and
// values as `show --json` does. Passwords and tune data are not compared.
#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <vector>

#include "core/document.h"
#include "core/texts.h"

namespace baldo7 {

struct Difference {
    QString section;  // "model", "band", "channels", "functions", "keys", "scan", "message"
    int item = 0;     // channel, priority slot or message line; 0 where the section has none
    QString field;    // the key of `show --json`
    QJsonValue a;     // as `show --json` gives it (text, yes/no, number or null)
    QJsonValue b;
};

// Two descriptions made by DescribeDocument, section by section in the editors' order.
std::vector<Difference> CompareDescriptions(const QJsonObject& a, const QJsonObject& b);
// Both documents described in one language (and `a`'s decimal separator).
std::vector<Difference> CompareDocuments(const Document& a, const Document& b,
                                         bool isEnglish = true);

// Where and what, as the window names them: "Channel 3" and "Tx Power", "Scan
// Information" and "Look Back Time A[s]".
QString DifferencePlace(const Difference& d, bool isEnglish);
QString DifferenceCaption(const Difference& d, bool isEnglish);
// A value as text: yes/no, an empty text or a missing value as "(none)".
QString DifferenceValue(const QJsonValue& v, bool isEnglish);
// The command line's words: "channel 3  receive  146.46000 → 146.50000".
QString DifferenceLine(const Difference& d);
QJsonObject DifferenceJson(const Difference& d);

namespace compare_texts {
constexpr BiText kYes{"yes", "是"};
constexpr BiText kNo{"no", "否"};
constexpr BiText kNone{"(none)", "(无)"};
}  // namespace compare_texts

}  // namespace baldo7
