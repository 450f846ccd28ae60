// baldo7ctl import: CSV channel rows into a data file made from a base file or the
// template. Rows that cannot be taken are reported on stderr, one line each.
#include <QFileInfo>
#include <QTextStream>

#include "channels/channel_csv.h"
#include "cli/commands.h"
#include "cli/verb_parser.h"
#include "storage/data_store.h"

namespace baldo7::cli {

int runImport(const QStringList& args) {
    VerbParser verb("import", "Reads CSV channel rows into a data file.");
    QCommandLineParser& p = verb.parser();
    p.addPositionalArgument("csv", "The CSV (or tab-separated) channel list.");
    p.addOption({{"o", "output"}, "The data file to write.", "OUT.rdat"});
    p.addOption({"base", "The data file whose document takes the rows (default: the template).",
                 "BASE.rdat"});
    p.addOption({"force", "Replace the output file when it exists."});
    if (auto stop = verb.parse(args)) return *stop;
    if (p.positionalArguments().size() != 1 || !p.isSet("output")) {
        printError("import: give one CSV file and the output with -o OUT.rdat");
        return kExitUsage;
    }
    const QString input = p.positionalArguments().first();
    const QString output = p.value("output");
    if (QFileInfo::exists(output) && !p.isSet("force")) {
        printError("import: " + output + " exists; give --force to replace it");
        return kExitFile;
    }

    Document doc;
    doc.IsEnglish = true;
    if (p.isSet("base") ? !loadDataFileInto(doc, p.value("base"), "import")
                        : !loadTemplateInto(doc, "import"))
        return kExitFile;

    Bytes bytes;
    const LoadResult read = ReadFileBytes(input, bytes);
    if (!read.ok()) {
        printError("import: cannot read " + input + ": " +
                   (read.status == LoadStatus::Refused ? "larger than 1 MiB" : read.detail));
        return kExitFile;
    }
    const CsvImport result = ImportChannelsCsv(doc, std::string(bytes.begin(), bytes.end()));
    if (!result.usable) {
        printError("import: " + input + " has no header line with a Frequency column");
        return kExitFile;
    }
    QTextStream err(stderr);
    for (const CsvSkip& skip : result.skipped)
        err << input << ": " << QString::fromStdString(DescribeCsvSkip(skip, true)) << "\n";
    err.flush();

    QString error;
    if (!SaveDataFile(doc, output, &error)) {
        printError("import: cannot write " + output + ": " + error);
        return kExitFile;
    }
    QTextStream(stdout) << QFileInfo(output).fileName() << ": " << result.taken.size()
                        << (result.taken.size() == 1 ? " channel" : " channels") << " imported, "
                        << result.skipped.size() << (result.skipped.size() == 1 ? " row" : " rows")
                        << " skipped\n";
    return result.skipped.empty() ? kExitOk : kExitRowsSkipped;
}

}  // namespace baldo7::cli
