// baldo7ctl: the command line of the BALDO-7 programming software.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "baldo7_version.h"
#include "cli/commands.h"

namespace {

const char kUsage[] =
    "Usage: baldo7ctl <command> [options]\n"
    "\n"
    "Commands:\n"
    "  new    FILE.rdat [--model VHF|UHF] [--band TEXT] [--force]  a data file from the "
    "template\n"
    "  show   FILE.rdat [--json]                             the decoded content of a data file\n"
    "  diff   A.rdat B.rdat | A.rdat --port PORT [--json]    what differs between two data\n"
    "         files, or a data file and a radio (exit 0 same, 1 different, 2 unreadable)\n"
    "  read   --port PORT -o FILE [--range RANGE]            read the radio\n"
    "  write  --port PORT FILE [--range RANGE] [--yes]       write the radio\n"
    "  export FILE.rdat [-o OUT.csv] [--force]               the channels as CSV\n"
    "  import IN.csv -o OUT.rdat [--base BASE.rdat] [--renumber [--first N]] [--force]\n"
    "                                                        CSV channels into a data file\n"
    "  print  FILE.rdat -o REPORT.pdf|.html [--lang en|zh]   the printed report of a data file\n"
    "  ports  [--json]                                       the serial ports and who may open "
    "them\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help\n"
    "  -v, --version  show the version\n"
    "\n"
    "Run 'baldo7ctl <command> --help' for the options of a command.\n"
    "Exit codes: 0 done, 1 usage, 2 file unreadable or refused, 3 port cannot be opened,\n"
    "4 link failed or cancelled, 5 band question declined, 6 write --verify found other\n"
    "bytes in the radio, 7 import skipped some rows.\n";

// Results that never reached their file (standard output redirected to a full disk)
// must not pass for success.
int checkedOutput(int exitCode) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return exitCode;
    // An earlier flush may have failed, and its reason is gone by now.
    const QString reason = errno ? QString::fromLocal8Bit(std::strerror(errno))
                                 : QString("not all of the results were written");
    baldo7::cli::printError("cannot write the standard output: " + reason);
    return exitCode == baldo7::cli::kExitOk ? baldo7::cli::kExitFile : exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    // Only the report draws text, and only it pays for fonts and a (windowless) GUI.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "print") == 0) {
#ifndef Q_OS_WIN
        // Windows has its fonts without a window; elsewhere no display is needed.
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName("baldo7ctl");
    QCoreApplication::setApplicationVersion(BALDO7_VERSION_TEXT);

    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QTextStream out(stdout);
    if (args.isEmpty()) {
        QTextStream(stderr) << kUsage;
        return baldo7::cli::kExitUsage;
    }
    const QString verb = args.takeFirst();
    if (verb == "--help" || verb == "-h" || verb == "help") {
        out << kUsage;
        return baldo7::cli::kExitOk;
    }
    if (verb == "--version" || verb == "-v") {
        out << "baldo7ctl " BALDO7_VERSION_TEXT "\n";
        return baldo7::cli::kExitOk;
    }
    using Verb = int (*)(const QStringList&);
    const struct {
        const char* name;
        Verb run;
    } verbs[] = {{"new", baldo7::cli::runNew},       {"show", baldo7::cli::runShow},
                 {"read", baldo7::cli::runRead},     {"write", baldo7::cli::runWrite},
                 {"export", baldo7::cli::runExport}, {"import", baldo7::cli::runImport},
                 {"print", baldo7::cli::runPrint},   {"ports", baldo7::cli::runPorts},
                 {"diff", baldo7::cli::runDiff}};
    for (const auto& v : verbs)
        if (verb == QLatin1String(v.name)) return checkedOutput(v.run(args));

    baldo7::cli::printError(QString("unknown command '%1' (see baldo7ctl --help)").arg(verb));
    return baldo7::cli::kExitUsage;
}
