// baldo7ctl export: the channels of a data file as CSV, to a file or standard output.
#include <QFileInfo>
#include <QTextStream>

#include "channels/channel_csv.h"
#include "cli/commands.h"
#include "cli/verb_parser.h"
#include "storage/data_store.h"

namespace baldo7::cli {

int runExport(const QStringList& args) {
    VerbParser verb("export", "Writes the channels in use of a data file as CSV.");
    QCommandLineParser& p = verb.parser();
    p.addPositionalArgument("file", "The data file (.rdat).");
    p.addOption(
        {{"o", "output"}, "The CSV file to write (standard output without it).", "OUT.csv"});
    p.addOption({"force", "Replace OUT.csv if it exists."});
    if (auto stop = verb.parse(args)) return *stop;
    if (p.positionalArguments().size() != 1) {
        printError("export: give exactly one data file");
        return kExitUsage;
    }
    const QString output = p.value("output");
    if (const QFileInfo info(output);
        p.isSet("output") && (info.exists() || info.isSymLink()) && !p.isSet("force")) {
        printError("export: " + output + " exists; give --force to replace it");
        return kExitFile;
    }
    Document doc;
    if (!loadDataFileInto(doc, p.positionalArguments().first(), "export")) return kExitFile;
    const std::string csv = ExportChannelsCsv(doc.radioImage);
    if (!p.isSet("output")) {
        QTextStream(stdout) << QString::fromStdString(csv);
        return kExitOk;
    }
    QString error;
    if (!WriteFileAtomically(output, Bytes(csv.begin(), csv.end()), &error)) {
        printError("export: cannot write " + output + ": " + error);
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace baldo7::cli
