#include "compare/document_diff.h"

#include <QJsonArray>

#include "channels/channel_texts.h"
#include "compare/document_description.h"
#include "functions/embedded_message.h"
#include "functions/function_setup.h"
#include "functions/key_setting.h"
#include "functions/scan_information.h"

namespace baldo7 {

namespace {

struct Section {
    const char* name;
    const char* place;  // %1: the channel
    BiText caption;
};

const Section kSections[] = {
    {"model", "model", {"Model", "机型"}},
    {"band", "band", {"Band", "频段"}},
    {"channels", "channel %1", {"Channel %1", "信道 %1"}},
    {"functions", "functions", option_texts::kCaption},
    {"keys", "keys", key_texts::kCaption},
    {"scan", "scan", scan_texts::kCaption},
    {"message", "message", message_texts::kCaption},
};

// The compared fields in the editors' order. A field named as its section is the
// section's value itself; an array compares item by item (%1: the item).
struct Field {
    const char* section;
    const char* key;
    const char* term;
    BiText caption;
};

namespace ct = channel_texts::edit;
const Field kFields[] = {
    {"model", "model", "model", {"Model Type", "机型类型"}},
    {"band", "low", "low", {"Band Low[MHz]", "频段下限[MHz]"}},
    {"band", "high", "high", {"Band High[MHz]", "频段上限[MHz]"}},
    {"band", "txHigh", "transmit high", {"Tx High[MHz]", "发射上限[MHz]"}},
    {"channels", "inUse", "in use", {"In Use", "使用中"}},
    {"channels", "rx", "receive", ct::kRxFreq},
    {"channels", "tx", "transmit", ct::kTxFreq},
    {"channels", "decode", "decode", ct::kDecode},
    {"channels", "encode", "encode", ct::kEncode},
    {"channels", "power", "power", ct::kTxPower},
    {"channels", "scanAdd", "scan", ct::kScanAdd},
    {"channels", "spacing", "spacing", ct::kSpace},
    {"channels", "busyLock", "busy lock", ct::kBusyLock},
    {"channels", "scrambleType", "scramble type", ct::kScrambleType},
    {"channels", "scramble", "scrambler", ct::kScramble},
    {"channels", "compand", "compander", ct::kCompand},
    {"channels", "cdcssMode", "cdcss mode", ct::kCdcssMode},
    {"functions", "tot", "time out timer", option_texts::kTot},
    {"functions", "totWarning", "tot warning", option_texts::kTotWarning},
    {"functions", "squelch", "squelch level", option_texts::kSquelch},
    {"functions", "voicePrompt", "voice prompt", option_texts::kVoice},
    {"functions", "batterySave", "battery save", option_texts::kSave},
    {"functions", "beep", "beep", option_texts::kBeep},
    {"functions", "scramble", "scramble", option_texts::kScramble},
    {"functions", "roger", "roger", option_texts::kRoger},
    {"functions", "freqHopping", "freq hopping", option_texts::kFreqHopping},
    {"keys", "pf1", "PF1", {"PF1", "PF1"}},
    {"keys", "pf2", "PF2", {"PF2", "PF2"}},
    {"scan", "priority", "priority", scan_texts::kPriority},
    {"scan", "revertChannel", "revert channel", scan_texts::kRevertChannel},
    {"scan", "lookBackA", "look back time A", scan_texts::kLookBackA},
    {"scan", "lookBackB", "look back time B", scan_texts::kLookBackB},
    {"scan", "dropoutDelay", "dropout delay", scan_texts::kDropoutDelay},
    {"scan", "txDwell", "tx dwell", scan_texts::kTxDwell},
    {"scan", "priorityChannels", "priority channel %1", {"Priority Channel %1", "优先信道%1"}},
    {"message", "message", "line %1", message_texts::kLineName},
};

const Section* sectionOf(const QString& name) {
    for (const Section& s : kSections)
        if (name == QLatin1String(s.name)) return &s;
    return nullptr;
}

const Field* fieldOf(const Difference& d) {
    for (const Field& f : kFields)
        if (d.section == QLatin1String(f.section) && d.field == QLatin1String(f.key)) return &f;
    return nullptr;
}

QString withItem(const char* text, int item) {
    const QString s = QString::fromUtf8(text);
    return s.contains("%1") ? s.arg(item) : s;
}

void compareValues(std::vector<Difference>& out, const Field& f, int item, const QJsonValue& a,
                   const QJsonValue& b) {
    if (a.isArray() || b.isArray()) {
        const QJsonArray aa = a.toArray(), ba = b.toArray();
        for (qsizetype i = 0; i < std::max(aa.size(), ba.size()); ++i)
            compareValues(out, f, int(i) + 1, aa.at(i), ba.at(i));
        return;
    }
    if (a != b) out.push_back({f.section, item, f.key, a, b});
}

void compareChannels(std::vector<Difference>& out, const QJsonArray& a, const QJsonArray& b) {
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QJsonObject ca = a.at(i).toObject(), cb = b.at(i).toObject();
        const int channel = int(i) + 1;
        // A channel taken into or out of use is one difference, not one per column.
        if (ca["inUse"] != cb["inUse"]) {
            out.push_back({"channels", channel, "inUse", ca["inUse"], cb["inUse"]});
            continue;
        }
        for (const Field& f : kFields)
            if (QLatin1String(f.section) == "channels" && QLatin1String(f.key) != "inUse")
                compareValues(out, f, channel, ca[f.key], cb[f.key]);
    }
}

}  // namespace

std::vector<Difference> CompareDescriptions(const QJsonObject& a, const QJsonObject& b) {
    std::vector<Difference> out;
    for (const Section& s : kSections) {
        if (QLatin1String(s.name) == "channels") {
            compareChannels(out, a["channels"].toArray(), b["channels"].toArray());
            continue;
        }
        for (const Field& f : kFields) {
            if (qstrcmp(f.section, s.name) != 0) continue;
            const bool whole = qstrcmp(f.key, s.name) == 0;
            compareValues(out, f, 0, whole ? a[s.name] : a[s.name].toObject()[f.key],
                          whole ? b[s.name] : b[s.name].toObject()[f.key]);
        }
    }
    return out;
}

namespace {
// A document as it is compared: the message region of a radio without a message
// holds tune data, which is no message (the printed report decides alike).
QJsonObject describedForComparison(const Document& doc, bool isEnglish) {
    QJsonObject o = DescribeDocument(doc, isEnglish);
    if (!HoldsEmbeddedMessage(doc.radioImage)) o["message"] = QJsonArray{QString(), QString()};
    return o;
}
}  // namespace

std::vector<Difference> CompareDocuments(const Document& a, const Document& b, bool isEnglish) {
    Document shownB = b;
    shownB.DecimalSeparator = a.DecimalSeparator;
    return CompareDescriptions(describedForComparison(a, isEnglish),
                               describedForComparison(shownB, isEnglish));
}

QString DifferencePlace(const Difference& d, bool isEnglish) {
    const Section* s = sectionOf(d.section);
    if (!s) return d.section;
    const char* text = s->caption.pick(isEnglish);
    return d.section == "channels" ? withItem(text, d.item) : QString::fromUtf8(text);
}

QString DifferenceCaption(const Difference& d, bool isEnglish) {
    const Field* f = fieldOf(d);
    if (!f) return d.field;
    if (QLatin1String(f->section) == "channels")
        return QString::fromUtf8(f->caption.pick(isEnglish));
    return withItem(f->caption.pick(isEnglish), d.item).trimmed();
}

QString DifferenceValue(const QJsonValue& v, bool isEnglish) {
    if (v.isBool()) return (v.toBool() ? compare_texts::kYes : compare_texts::kNo).pick(isEnglish);
    if (v.isDouble()) return QString::number(v.toDouble());
    const QString s = v.toString();
    return s.isEmpty() ? QString::fromUtf8(compare_texts::kNone.pick(isEnglish)) : s;
}

QString DifferenceLine(const Difference& d) {
    const Section* s = sectionOf(d.section);
    const Field* f = fieldOf(d);
    const QString place = !s                        ? d.section
                          : d.section == "channels" ? withItem(s->place, d.item)
                                                    : QString::fromUtf8(s->place);
    return place + "  " + (f ? withItem(f->term, d.item) : d.field) + "  " +
           DifferenceValue(d.a, true) + QString::fromUtf8(" → ") + DifferenceValue(d.b, true);
}

QJsonObject DifferenceJson(const Difference& d) {
    return QJsonObject{{"section", d.section},
                       {"item", d.item ? QJsonValue(d.item) : QJsonValue(QJsonValue::Null)},
                       {"field", d.field},
                       {"a", d.a},
                       {"b", d.b}};
}

}  // namespace baldo7
