// baldo7ctl import: CSV channel rows into a data file made from a base file or the
// template, by Location or (--renumber) in file order. Rows that cannot be taken are
// reported on stderr, one line each.
#include <QFileInfo>
#include <QTextStream>

#include "channels/channel_csv.h"
#include "channels/channel_record.h"
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
    p.addOption({"renumber",
                 "Ignore Location: the rows the radio can take go to channels 1, 2, ... in "
                 "file order."});
    p.addOption({"first", "With --renumber: the first channel (1-16).", "N"});
    if (auto stop = verb.parse(args)) return *stop;
    if (p.positionalArguments().size() != 1 || !p.isSet("output")) {
        printError("import: give one CSV file and the output with -o OUT.rdat");
        return kExitUsage;
    }
    CsvImportOptions options;
    options.renumber = p.isSet("renumber");
    if (p.isSet("first")) {
        bool number = false;
        options.first = p.value("first").toInt(&number);
        if (!options.renumber || !number || !IsChannelNumber(options.first)) {
            printError("import: --first takes a channel 1-16 and goes with --renumber");
            return kExitUsage;
        }
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
    const CsvImport result =
        ImportChannelsCsv(doc, std::string(bytes.begin(), bytes.end()), options);
    if (!result.usable) {
        printError("import: " + input + " has no header line with a Frequency column");
        return kExitFile;
    }
    QTextStream err(stderr);
    for (const CsvSkip& skip : result.skipped)
        err << input << ": " << QString::fromStdString(DescribeCsvSkip(skip, true)) << "\n";
    if (result.zeroBased)
        err << input
            << ": the locations start at 0, which is no channel; --renumber would place the "
               "rows in channels 1, 2, ...\n";
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
    const std::string power = DescribePowerMapping(result, true);
    if (!power.empty()) QTextStream(stdout) << QString::fromStdString(power) << "\n";
    return result.skipped.empty() ? kExitOk : kExitRowsSkipped;
}

}  // namespace baldo7::cli
