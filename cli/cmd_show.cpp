// baldo7ctl show: a data file as the editors would show it, in English with "." as
// decimal separator. The file is never written.
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>

#include "cli/commands.h"
#include "cli/verb_parser.h"
#include "compare/document_description.h"
#include "core/model_band.h"
#include "service/local_message.h"
#include "service/service_texts.h"
#include "service/special_option.h"
#include "service/stun_die.h"
#include "storage/data_store.h"

namespace baldo7::cli {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString english(const BiText& t) {
    return QString::fromUtf8(t.en);
}

QString cell(const QJsonValue& v) {
    if (v.isBool()) return v.toBool() ? "On" : "Off";
    if (v.isNull() || v.isUndefined()) return "";
    if (v.isDouble()) return QString::number(v.toInt());
    return v.toString();
}

void printTable(QTextStream& out, const QString& heading, const QJsonObject& o) {
    out << heading << "\n\n";

    struct Column {
        const char* header;
        const char* key;
    };
    const Column columns[] = {{"CH", "channel"},          {"Rx Frequency", "rx"},
                              {"Tx Frequency", "tx"},     {"Decode", "decode"},
                              {"Encode", "encode"},       {"Tx Power", "power"},
                              {"Scan Add", "scanAdd"},    {"Channel Spacing", "spacing"},
                              {"Busy Lock", "busyLock"},  {"Scramble Type", "scrambleType"},
                              {"Scrambler", "scramble"},  {"Compander", "compand"},
                              {"Cdcss Mode", "cdcssMode"}};
    QList<QStringList> rows;
    for (const QJsonValue& ch : o["channels"].toArray()) {
        const QJsonObject c = ch.toObject();
        QStringList row;
        for (const Column& col : columns) {
            QString s = cell(c[col.key]);
            if (QLatin1String(col.key) == "scanAdd" && c["inUse"].toBool())
                s = c["scanAdd"].toBool() ? "Add" : "Delete";
            row << s;
        }
        if (!c["inUse"].toBool()) row[1] = "(empty)";
        rows << row;
    }
    QList<int> widths;
    for (const Column& col : columns) widths << int(strlen(col.header));
    for (const QStringList& row : rows)
        for (int i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], int(row[i].size()));
    auto line = [&](const QStringList& cells) {
        QString l;
        for (int i = 0; i < cells.size(); ++i)
            l += (i ? "  " : "") +
                 (i == 0 ? cells[i].rightJustified(widths[i]) : cells[i].leftJustified(widths[i]));
        while (l.endsWith(' ')) l.chop(1);
        out << l << "\n";
    };
    QStringList headers;
    for (const Column& col : columns) headers << col.header;
    line(headers);
    for (const QStringList& row : rows) line(row);

    const QJsonObject f = o["functions"].toObject();
    const QJsonObject k = o["keys"].toObject();
    const QJsonObject s = o["software"].toObject();
    const QJsonObject sc = o["scan"].toObject();
    const QJsonArray m = o["message"].toArray();
    QList<QPair<QString, QString>> settings = {
        {"Time Out Timer(TOT)[s]", cell(f["tot"])},
        {"TOT Warning Time[s]", cell(f["totWarning"])},
        {"Squelch Level", cell(f["squelch"])},
        {"Voice Prompt", cell(f["voicePrompt"])},
        {"Battry Save", cell(f["batterySave"])},
        {"Beep Enable", cell(f["beep"])},
        {"Scramble Enable", cell(f["scramble"])},
        {"Roger", cell(f["roger"])},
        {"Freq Hopping", cell(f["freqHopping"])},
        {"PF1", cell(k["pf1"])},
        {"PF2", cell(k["pf2"])},
        {"Program password", s["programPassword"].toString()},
        {"New password", s["newPassword"].toString()},
        {"Change password", cell(s["changePassword"])},
        {"Priority", cell(sc["priority"])},
        {"Look Back Time A[s]", cell(sc["lookBackA"])},
        {"Look Back Time B[s]", cell(sc["lookBackB"])},
        {"Revert Channel", cell(sc["revertChannel"])},
        {"Dropout Delay Time[s]", cell(sc["dropoutDelay"])},
        {"TX Dwell Time[s]", cell(sc["txDwell"])},
    };
    const QJsonArray prioritySlots = sc["priorityChannels"].toArray();
    for (int k = 0; k < prioritySlots.size(); ++k)
        settings.append({QStringLiteral("Priority Channel %1").arg(k + 1), cell(prioritySlots[k])});
    for (int line = 0; line < m.size(); ++line)
        settings.append({QStringLiteral("Embedded Message %1").arg(line + 1),
                         QLatin1Char('"') + m[line].toString() + QLatin1Char('"')});
    int w = 0;
    for (const auto& kv : settings) w = std::max(w, int(kv.first.size()));
    out << "\n";
    for (const auto& kv : settings) {
        QString line = kv.first.leftJustified(w + 2) + kv.second;
        while (line.endsWith(' ')) line.chop(1);
        out << line << "\n";
    }

    // The tune window's two grids and the deviation.
    const QJsonObject t = o["tune"].toObject();
    const auto row = [&out](const QString& header, const QJsonArray& cells, int width) {
        QString l = header.leftJustified(16);
        for (const QJsonValue& c : cells) l += cell(c).rightJustified(width);
        out << l << "\n";
    };
    out << "\nTune data\n";
    row("Freq", t["points"].toArray(), 6);
    row("SQ", t["sq"].toArray(), 6);
    row("TX High", t["txHigh"].toArray(), 6);
    row("TX Low", t["txLow"].toArray(), 6);
    QJsonArray high, low;
    for (const QJsonValue& pair : t["thresholds"].toArray()) {
        high.append(pair.toObject()["high"]);
        low.append(pair.toObject()["low"]);
    }
    row("High Threshlod", high, 6);
    row("Low Threshlod", low, 6);
    out << "BandWide(0.1KHz): " << t["maxDeviation"].toInt() << "\n";
}

// ---- raw dumps of the service ranges ----------------------------------------------

struct DumpRange {
    const char* name;
    int address;
    int size;
};
constexpr DumpRange dump(const char* name, AddressRange bytes) {
    return {name, static_cast<int>(bytes.first), static_cast<int>(bytes.size())};
}
constexpr DumpRange kDumpRanges[] = {dump("local", addr::kLocalMessage),
                                     dump("stundie", addr::kStunDie),
                                     dump("special", addr::kSpecialOption)};
constexpr int kMemoryDumpSize = static_cast<int>(kRadioMemorySize);

// The range's bytes as the windows show them; the keys in the order of the window.
QList<QPair<QString, QJsonValue>> describeRange(const DumpRange& range, const std::uint8_t* bytes) {
    using namespace service_texts;
    QList<QPair<QString, QJsonValue>> fields;
    const std::string name = range.name;
    if (name == "local") {
        const LocalMessageView v = DecodeLocalMessage(bytes);
        fields << qMakePair(QString("radioType"),
                            QJsonValue(text(RadioTypeList()[std::size_t(v.radioTypeIndex)])))
               << qMakePair(
                      QString("frequencyArea"),
                      QJsonValue(text(FrequencyAreaList()[std::size_t(v.frequencyAreaIndex)])));
        for (const LocalFieldLayout& f : kLocalFields)
            fields << qMakePair(QString(f.key), QJsonValue(latin1(v.shown(f.field))));
    } else if (name == "stundie") {
        const StunDieView v = DecodeStunDie(bytes);
        const BiText* status[] = {&kStatusNormal, &kStatusStun, &kStatusDie};
        const BiText* ack[] = {&kAckChord, &kAckRing};
        fields << qMakePair(QString("status"), QJsonValue(english(*status[v.status])))
               << qMakePair(QString("stunCode"), QJsonValue(latin1(v.stunCode)))
               << qMakePair(QString("dieCode"), QJsonValue(latin1(v.dieCode)))
               << qMakePair(QString("ackType"), QJsonValue(english(*ack[v.ackType])))
               << qMakePair(QString("enabled"), QJsonValue(v.enabled));
    } else {
        const int index = RxVoiceIndex(bytes[addr::kRxVoiceLevel - addr::kSpecialOption.first]);
        fields << qMakePair(QString("rxVoiceLevel"),
                            QJsonValue(text(RxVoiceLevelList()[std::size_t(index)])));
    }
    return fields;
}

// The window's English caption of each key, for the plain table.
QString rangeLabel(const QString& key) {
    using namespace service_texts;
    static const QMap<QString, BiText> labels = {
        {"radioType", kRadioType},
        {"frequencyArea", kFrequencyArea},
        {"areaCode", kAreaCode},
        {"serialNumber", kSerialNumber},
        {"productedDate", kProductedDate},
        {"manufactureCode", kManufactureCode},
        {"userCode", kUserCode},
        {"maintainedDate", kMaintainedDate},
        {"dealerCode", kDealerCode},
        {"stockDate", kStockDate},
        {"sellDate", kSellDate},
        {"seller", kSeller},
        {"maintainedDescription", kMaintainedDescription},
        {"status", kStatus},
        {"stunCode", kStunCode},
        {"dieCode", kDieCode},
        {"ackType", kAckType},
        {"enabled", kStunEnable},
        {"rxVoiceLevel", kRxVoice},
    };
    QString label = english(labels.value(key, BiText{"", ""}));
    if (label.endsWith(':')) label.chop(1);
    return label;
}

int showRange(const QString& rangeName, const QString& path, bool json) {
    const DumpRange* range = nullptr;
    for (const DumpRange& r : kDumpRanges)
        if (rangeName == QLatin1String(r.name)) range = &r;
    if (!range) {
        printError("show: unknown range '" + rangeName + "' (local, stundie or special)");
        return kExitUsage;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(path + ": " + file.errorString());
        return kExitFile;
    }
    const QByteArray data = file.readAll();
    // The range as `read --range` writes it, or a whole memory dump.
    int offset = 0;
    if (data.size() == kMemoryDumpSize)
        offset = range->address;
    else if (data.size() != range->size) {
        printError(QString("%1: a %2 dump is %3 bytes (or a %4-byte memory dump), not %5")
                       .arg(path, rangeName)
                       .arg(range->size)
                       .arg(kMemoryDumpSize)
                       .arg(data.size()));
        return kExitFile;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData()) + offset;
    const QList<QPair<QString, QJsonValue>> fields = describeRange(*range, bytes);
    QTextStream out(stdout);
    if (json) {
        QJsonObject o;
        for (const auto& f : fields) o[f.first] = f.second;
        out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
        return kExitOk;
    }
    int w = 0;
    for (const auto& f : fields) w = std::max(w, int(rangeLabel(f.first).size()));
    out << QFileInfo(path).fileName() << ": " << rangeName << "\n\n";
    for (const auto& f : fields)
        out << rangeLabel(f.first).leftJustified(w + 2) << cell(f.second) << "\n";
    return kExitOk;
}

}  // namespace

int runShow(const QStringList& args) {
    VerbParser verb("show", "Shows a data file as the editors would, without changing it.");
    QCommandLineParser& p = verb.parser();
    p.addPositionalArgument("file", "The data file (.rdat), or FILE.bin with --range.");
    p.addOption({"json", "Print one JSON object instead of a table."});
    p.addOption({"range",
                 "Show a raw dump of this range as its window would: local, stundie or special.",
                 "RANGE"});
    if (auto stop = verb.parse(args)) return *stop;
    if (p.positionalArguments().size() != 1) {
        printError(p.isSet("range") ? "show: give exactly one dump file"
                                    : "show: give exactly one data file");
        return kExitUsage;
    }
    const QString path = p.positionalArguments().first();
    if (p.isSet("range")) return showRange(p.value("range"), path, p.isSet("json"));
    Document doc;
    doc.IsEnglish = true;
    doc.DecimalSeparator = '.';
    if (!loadDataFileInto(doc, path, "show")) return kExitFile;
    const QJsonObject o = DescribeDocument(doc);
    QTextStream out(stdout);
    if (p.isSet("json"))
        out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
    else
        printTable(
            out,
            QFileInfo(path).fileName() + ": " + QString::fromStdString(ModelBandText(doc, true)),
            o);
    return kExitOk;
}

}  // namespace baldo7::cli
