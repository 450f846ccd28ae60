// QCommandLineParser set up for one verb: --help handled, errors as one line.
#pragma once

#include <QCommandLineParser>
#include <optional>

namespace baldo7::cli {

class VerbParser {
public:
    VerbParser(const QString& verb, const QString& description);
    QCommandLineParser& parser() { return parser_; }

    // Parses the verb's arguments. Returns an exit code when the run should stop
    // here (help shown: 0, usage error: 1), nothing when the verb should go on.
    std::optional<int> parse(const QStringList& args);

private:
    QString verb_;
    QCommandLineParser parser_;
};

}  // namespace baldo7::cli
