// baldo7ctl diff: what differs between two data files, or a data file and what a
// radio holds, as the editors name it. Exit codes as diff(1) has them: 0 the same,
// 1 different, 2 trouble (a file, the usage); a port or link failure keeps its own.
// Nothing is written anywhere, the radio's read included.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include "cli/commands.h"
#include "cli/verb_parser.h"
#include "compare/document_diff.h"

namespace baldo7::cli {

namespace {
constexpr int kDifferent = 1;
}  // namespace

int runDiff(const QStringList& args) {
    VerbParser verb("diff",
                    "Lists what differs between two data files, or between a data file and the "
                    "radio on --port: model and band, channels, functions, keys, scan "
                    "information and the embedded message.");
    QCommandLineParser& p = verb.parser();
    p.addPositionalArgument("A.rdat", "The data file.");
    p.addPositionalArgument("B.rdat", "The other data file (not with --port).");
    p.addOption(
        {"port", "Compare with what the radio on PORT holds (a read, kept in memory).", "PORT"});
    p.addOption({"json", "One JSON object: same, and the differences with show --json's names."});
    p.addOption({{"q", "quiet"}, "No progress on stderr."});
    p.addOption({"dtr", "Assert DTR while the port is open (cables powered from it)."});
    p.addOption({"rts", "Assert RTS while the port is open (cables powered from it)."});
    // diff(1) keeps 1 for "different": a usage error is trouble.
    if (auto stop = verb.parse(args)) return *stop == kExitOk ? kExitOk : kExitFile;
    const QStringList files = p.positionalArguments();
    const bool radio = p.isSet("port");
    if (files.size() != (radio ? 1 : 2) || (radio && p.value("port").trimmed().isEmpty())) {
        printError("diff: give two data files, or one data file and --port PORT");
        return kExitFile;
    }

    Document a, b;
    a.IsEnglish = b.IsEnglish = true;
    a.DecimalSeparator = b.DecimalSeparator = '.';
    if (!loadDataFileInto(a, files[0], "diff")) return kExitFile;
    if (radio) {
        if (auto failed = readRadioInto(b, p.value("port").trimmed(), p.isSet("quiet"),
                                        p.isSet("dtr"), p.isSet("rts"), "diff"))
            return *failed;
    } else if (!loadDataFileInto(b, files[1], "diff")) {
        return kExitFile;
    }

    const std::vector<Difference> differences = CompareDocuments(a, b);
    QTextStream out(stdout);
    if (p.isSet("json")) {
        QJsonArray list;
        for (const Difference& d : differences) list.append(DifferenceJson(d));
        out << QJsonDocument(QJsonObject{{"same", differences.empty()}, {"differences", list}})
                   .toJson(QJsonDocument::Compact)
            << "\n";
    } else if (differences.empty()) {
        out << "no differences\n";
    } else {
        for (const Difference& d : differences) out << DifferenceLine(d) << "\n";
    }
    return differences.empty() ? kExitOk : kDifferent;
}

}  // namespace baldo7::cli
