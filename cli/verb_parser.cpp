#include "cli/verb_parser.h"

#include <QTextStream>

#include "cli/commands.h"

namespace baldo7::cli {

VerbParser::VerbParser(const QString& verb, const QString& description) : verb_(verb) {
    parser_.setApplicationDescription(description);
    parser_.addHelpOption();
}

std::optional<int> VerbParser::parse(const QStringList& args) {
    QStringList full = args;
    full.prepend("baldo7ctl " + verb_);
    if (!parser_.parse(full)) {
        printError(verb_ + ": " + parser_.errorText());
        return kExitUsage;
    }
    if (parser_.isSet("help")) {
        QTextStream(stdout) << parser_.helpText();
        return kExitOk;
    }
    return std::nullopt;
}

void printError(const QString& message) {
    QTextStream(stderr) << "baldo7ctl: " << message << "\n";
}

}  // namespace baldo7::cli
