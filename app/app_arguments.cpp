#include "app/app_arguments.h"

namespace baldo7 {

namespace {

// One row per option; a new switch is a new row and a field in AppArguments.
struct Option {
    const char* shortName;  // "" when there is none
    const char* longName;
    const char* help;
    void (*apply)(ParsedAppArguments&);
};

const Option kOptions[] = {
    {"-h", "--help", "show this help and exit",
     [](ParsedAppArguments& p) { p.action = AppAction::Help; }},
    {"-v", "--version", "show the version and exit",
     [](ParsedAppArguments& p) { p.action = AppAction::Version; }},
    {"", "--no-splash", "open the main window at once, without the welcome picture",
     [](ParsedAppArguments& p) { p.args.splash = false; }},
    {"", "--exit-when-ready",
     "print \"ready\" once the main window is shown, then quit (start-up timing)",
     [](ParsedAppArguments& p) { p.args.exitWhenReady = true; }},
    {"", "--service",
     "show the dealers' and technicians' tools for this run (the ServiceMode setting keeps "
     "them)",
     [](ParsedAppArguments& p) { p.args.service = true; }},
};

const Option* findOption(const QString& arg) {
    for (const Option& o : kOptions)
        if (arg == QLatin1String(o.longName) || (*o.shortName && arg == QLatin1String(o.shortName)))
            return &o;
    return nullptr;
}

// QApplication's own options: with a value, and without.
const char* const kQtValueOptions[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "style",         "stylesheet", "session",
    "display",     "geometry",           "title",         "name",       "qmljsdebugger"};
const char* const kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// 0: not one of Qt's; otherwise how many arguments it takes up.
int qtOptionLength(const QString& arg) {
    if (!arg.startsWith(QLatin1Char('-'))) return 0;
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    const qsizetype equals = name.indexOf(QLatin1Char('='));
    if (equals >= 0) name.truncate(equals);
    for (const char* o : kQtValueOptions)
        if (name == QLatin1String(o)) return equals >= 0 ? 1 : 2;
    for (const char* o : kQtFlagOptions)
        if (name == QLatin1String(o)) return 1;
    return 0;
}

}  // namespace

ParsedAppArguments parseAppArguments(const QStringList& arguments, bool skipQtOptions) {
    ParsedAppArguments parsed;
    auto fail = [&](const QString& why) {
        parsed.action = AppAction::Error;
        parsed.error = why + QStringLiteral(" (see baldo7 --help)");
        return parsed;
    };
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (const int n = skipQtOptions && !optionsEnded ? qtOptionLength(arg) : 0) {
            i += n - 1;
        } else if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            const Option* option = findOption(arg);
            if (!option) return fail(QStringLiteral("unknown option '%1'").arg(arg));
            const AppAction before = parsed.action;
            option->apply(parsed);
            // The first of --help and --version wins, as the user reads it.
            if (before != AppAction::Run) parsed.action = before;
        } else if (parsed.args.file.isEmpty()) {
            parsed.args.file = arg;
        } else {
            return fail(QStringLiteral("only one data file can be opened, got '%1' and '%2'")
                            .arg(parsed.args.file, arg));
        }
    }
    return parsed;
}

QString appHelpText() {
    QString text = QStringLiteral(
        "Usage: baldo7 [options] [FILE.rdat]\n"
        "\n"
        "The BALDO-7 programming software: reads and writes the radio over its\n"
        "programming cable and edits its channels and functions. Opens FILE.rdat,\n"
        "a radio data file, when one is given.\n"
        "\n"
        "Options:\n");
    for (const Option& o : kOptions) {
        QString names = *o.shortName ? QStringLiteral("%1, %2").arg(QLatin1String(o.shortName),
                                                                    QLatin1String(o.longName))
                                     : QStringLiteral("    ") + QLatin1String(o.longName);
        text += QStringLiteral("  %1  %2\n").arg(names, -22).arg(QLatin1String(o.help));
    }
    text += QStringLiteral(
        "\n"
        "Exit status: 0 closed normally, 1 bad command line, 2 the program could not start\n"
        "(the template Init.dat is missing or damaged).\n");
    return text;
}

}  // namespace baldo7
