// baldo7ctl print: the printed report of a data file, as a PDF or an HTML page,
// without a window. The data file is never written.
#include <QDate>
#include <QFileInfo>
#include <QTextStream>

#include "cli/commands.h"
#include "cli/verb_parser.h"
#include "print/report_document.h"
#include "storage/data_store.h"

namespace baldo7::cli {

int runPrint(const QStringList& args) {
    VerbParser verb("print", "Writes the printed report of a data file as a PDF or HTML file.");
    QCommandLineParser& p = verb.parser();
    p.addPositionalArgument("file", "The data file (.rdat).");
    p.addOption({{"o", "output"}, "The report to write: a .pdf or .html file.", "REPORT"});
    p.addOption({"lang", "Language of the report: en (default) or zh.", "en|zh"});
    p.addOption({"sections",
                 "Sections to print, comma-separated: options,keys,message,channels "
                 "(default: all).",
                 "LIST"});
    if (auto stop = verb.parse(args)) return *stop;
    if (p.positionalArguments().size() != 1 || !p.isSet("output")) {
        printError("print: give one data file and the report with -o REPORT.pdf|.html");
        return kExitUsage;
    }
    const QString output = p.value("output");
    const QString suffix = QFileInfo(output).suffix().toLower();
    if (suffix != "pdf" && suffix != "html" && suffix != "htm") {
        printError("print: the report must end in .pdf or .html: " + output);
        return kExitUsage;
    }
    const QString lang = p.value("lang");
    if (p.isSet("lang") && lang != "en" && lang != "zh") {
        printError("print: --lang must be en or zh");
        return kExitUsage;
    }
    unsigned sections = kAllSections;
    if (p.isSet("sections")) {
        std::string unknown;
        const auto parsed = ParseReportSections(p.value("sections").toStdString(), &unknown);
        if (!parsed) {
            printError(QString("print: unknown section '%1' (options, keys, message, channels)")
                           .arg(QString::fromStdString(unknown)));
            return kExitUsage;
        }
        sections = *parsed;
    }

    const QString path = p.positionalArguments().first();
    Document doc;
    doc.IsEnglish = lang != "zh";
    doc.DecimalSeparator = '.';
    const LoadResult r = LoadDataFile(doc, path);
    if (r.status == LoadStatus::Refused) {
        printError(path + ": Error file！ (" + DataFileRefusalText(r, true) + ")");
        return kExitFile;
    }
    if (!r.ok()) {
        printError(path + ": " + r.detail);
        return kExitFile;
    }
    doc.CurrentFileName = QFileInfo(path).fileName().toStdString();

    const Report report =
        BuildReport(doc, sections, QDate::currentDate().toString(Qt::ISODate).toStdString());
    QString error;
    const bool written = suffix == "pdf" ? WriteReportPdf(report, output, &error)
                                         : WriteReportHtml(report, output, &error);
    if (!written) {
        printError("print: cannot write " + error);
        return kExitFile;
    }
    QTextStream(stdout) << output << "\n";
    return kExitOk;
}

}  // namespace baldo7::cli
