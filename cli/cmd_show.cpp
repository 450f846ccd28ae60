// baldo7ctl show: a data file as the editors would show it, in English with "." as
// decimal separator. The file is never written.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "cli/commands.h"
#include "cli/show_json.h"
#include "cli/verb_parser.h"
#include "shell/data_store.h"

namespace baldo7::cli {

namespace {

QString cell(const QJsonValue& v) {
    if (v.isBool()) return v.toBool() ? "On" : "Off";
    if (v.isNull() || v.isUndefined()) return "";
    if (v.isDouble()) return QString::number(v.toInt());
    return v.toString();
}

void printTable(QTextStream& out, const QString& name, const QJsonObject& o) {
    const QJsonObject band = o["band"].toObject();
    out << name << ": " << o["model"].toString() << " " << band["low"].toInt() << "-"
        << band["high"].toInt() << "MHz, transmit up to " << band["txHigh"].toInt() << "MHz\n\n";

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
}

}  // namespace

int runShow(const QStringList& args) {
    VerbParser verb("show", "Shows a data file as the editors would, without changing it.");
    QCommandLineParser& p = verb.parser();
    p.addPositionalArgument("file", "The data file (.rdat).");
    p.addOption({"json", "Print one JSON object instead of a table."});
    if (auto stop = verb.parse(args)) return *stop;
    if (p.positionalArguments().size() != 1) {
        printError("show: give exactly one data file");
        return kExitUsage;
    }
    const QString path = p.positionalArguments().first();
    Document doc;
    doc.IsEnglish = true;
    doc.DecimalSeparator = '.';
    if (!loadDataFileInto(doc, path, "show")) return kExitFile;
    const QJsonObject o = DescribeDocument(doc);
    QTextStream out(stdout);
    if (p.isSet("json"))
        out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
    else
        printTable(out, QFileInfo(path).fileName(), o);
    return kExitOk;
}

}  // namespace baldo7::cli
