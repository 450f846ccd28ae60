#include "cli/verb_parser.h"

#include <QTextStream>

#include "cli/commands.h"
#include "storage/data_store.h"

namespace baldo7::cli {

VerbParser::VerbParser(const QString& verb, const QString& description) : verb_(verb) {
    parser_.setApplicationDescription(description);
    // Not addHelpOption(): its --help-all lists Qt's own options, none of which apply.
    parser_.addOption({{"h", "help"}, "Shows this help."});
}

std::optional<int> VerbParser::parse(const QStringList& args) {
    QStringList full = args;
    full.prepend("baldo7ctl " + verb_);
    if (!parser_.parse(full)) {
        printError(verb_ + ": " + parser_.errorText());
        return kExitUsage;
    }
    if (parser_.isSet("help")) {
        // The usage line names the program as it was started; show the verb instead.
        QString help = parser_.helpText();
        const qsizetype options = help.indexOf(" [options]");
        if (help.startsWith("Usage: ") && options > 0)
            help.replace(0, options, "Usage: baldo7ctl " + verb_);
        QTextStream(stdout) << help;
        return kExitOk;
    }
    return std::nullopt;
}

void printError(const QString& message) {
    QTextStream(stderr) << "baldo7ctl: " << message << "\n";
}

bool loadTemplateInto(Document& doc, const QString& verb) {
    const LoadResult loaded = LoadTemplate(doc);
    if (loaded.ok()) return true;
    printError(verb + ": cannot load the template " + TemplatePath(doc) +
               (loaded.status == LoadStatus::Refused ? ": shorter than 1041 bytes"
                                                     : ": " + loaded.detail));
    return false;
}

bool loadDataFileInto(Document& doc, const QString& path, const QString& verb) {
    const LoadResult r = LoadDataFile(doc, path);
    if (r.ok()) return true;
    printError(verb + ": " + path +
               (r.status == LoadStatus::Refused
                    ? ": Error file！ (" + DataFileRefusalText(r, true) + ")"
                    : ": " + r.detail));
    return false;
}

}  // namespace baldo7::cli
