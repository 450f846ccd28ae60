// baldo7ctl read / write: one programming exchange over a serial port, the same
// engine the transfer window runs. Questions are answered by the options: the band
// question by --yes, the retry question by --retries.
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <optional>

#include "cli/commands.h"
#include "cli/verb_parser.h"
#include "core/model_band.h"
#include "link/exchange_qt_host.h"
#include "shell/data_store.h"

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace baldo7::cli {

namespace {

enum class RangeKind { Plain, Tune, Local, StunDie, Special };

struct RangeName {
    const char* name;
    RangeKind kind;
};
constexpr RangeName kRangeNames[] = {{"tune", RangeKind::Tune},
                                     {"local", RangeKind::Local},
                                     {"stundie", RangeKind::StunDie},
                                     {"special", RangeKind::Special}};

std::optional<RangeKind> parseRange(const QString& text) {
    for (const RangeName& r : kRangeNames)
        if (text == QLatin1String(r.name)) return r.kind;
    return std::nullopt;
}

void setRangeFlag(Document& doc, RangeKind kind) {
    doc.TuneMode = kind == RangeKind::Tune;
    doc.LocalMessageMode = kind == RangeKind::Local;
    doc.StunDieMode = kind == RangeKind::StunDie;
    doc.SpecialMode = kind == RangeKind::Special;
}

QString hex4(int value) {
    return "0x" + QString::number(value, 16).toUpper().rightJustified(4, '0');
}

// Progress on stderr: a bar on a terminal, the window's label otherwise.
class ProgressPrinter {
public:
    ProgressPrinter(bool quiet, const QString& what)
        : quiet_(quiet), tty_(isatty(fileno(stderr)) != 0), what_(what) {}
    ~ProgressPrinter() { end(); }

    void show(double fraction, const QString& label) {
        if (quiet_) return;
        if (!tty_) {
            // The window's label shows no digits at 0; a log reads better with them.
            const QString line =
                label.section(':', 0, 0) + QString(":%1%").arg(std::lround(fraction * 100.0));
            if (line != last_) std::fprintf(stderr, "%s\n", line.toUtf8().constData());
            last_ = line;
            return;
        }
        constexpr int kWidth = 40;
        const int filled = static_cast<int>(fraction * kWidth + 0.5);
        const QString bar = QString(filled, '#') + QString(kWidth - filled, '.');
        std::fprintf(stderr, "\r%s [%s] %3d%%", what_.toUtf8().constData(),
                     bar.toLatin1().constData(), static_cast<int>(fraction * 100 + 0.5));
        std::fflush(stderr);
        drawn_ = true;
    }
    void note(const QString& text) {
        if (quiet_) return;
        end();
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
    void end() {
        if (drawn_) std::fprintf(stderr, "\n");
        drawn_ = false;
    }

private:
    bool quiet_;
    bool tty_;
    QString what_;
    QString last_;
    bool drawn_ = false;
};

struct LinkOptions {
    QString port;
    int retries = 0;
    bool yes = false;
    bool quiet = false;
    CablePower power;
    // What the band question compares with the radio: a data file's name, or what
    // stands in for a raw dump's missing model.
    QString dataName;
};

// The transfer window's diagnosis, naming the setting where it is not the device.
QString portFailureText(const QString& setting, const LinkPort& port) {
    const QString device = port.deviceName().isEmpty() ? setting : port.deviceName();
    QString text = serialPortDiagnosis(device, port.openError(), true);
    const QString named = "Cannot open " + device;
    if (device != setting && text.startsWith(named))
        text.replace(0, named.size(), "Cannot open " + setting + " (" + device + ")");
    return text;
}

// Runs the exchange the document's flags describe; returns the exit code of a
// failure, nothing when it ended with TransferOK.
std::optional<int> runExchange(Document& doc, const LinkOptions& opt, const QString& verb) {
    doc.IsEnglish = true;
    const bool reading = doc.ReadMode;
    ProgressPrinter progress(opt.quiet, reading ? "Reading" : "Writing");
    QtExchangeHost host(doc, opt.port);
    host.setFinishDelay(0);
    host.setCablePower(opt.power);
    int retriesLeft = opt.retries;
    host.setAnswerer([&](LinkQuestion question, const QString&) {
        if (question == LinkQuestion::BandDifferent) {
            return opt.yes;
        }
        if (retriesLeft <= 0) return false;
        --retriesLeft;
        progress.note(QString("%1: the radio did not answer as expected; retrying (%2 of %3)")
                          .arg(verb)
                          .arg(opt.retries - retriesLeft)
                          .arg(opt.retries));
        return true;
    });
    bool toldWaiting = false;
    QObject::connect(&host, &QtExchangeHost::radioSilent, [&] {
        if (toldWaiting) return;
        toldWaiting = true;
        progress.note(QString("%1: waiting for the radio on %2…").arg(verb, opt.port));
    });
    QObject::connect(&host, &QtExchangeHost::progressChanged,
                     [&progress](double f, const QString& label) { progress.show(f, label); });
    QEventLoop loop;
    QObject::connect(&host, &QtExchangeHost::exchangeFinished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    host.start();
    if (!host.isFinished()) loop.exec();
    progress.end();

    switch (host.result().outcome) {
        case ExchangeOutcome::Done:
            return std::nullopt;
        case ExchangeOutcome::PortFailed:
            printError(verb + ": " + portFailureText(opt.port, host.port()));
            return kExitPort;
        case ExchangeOutcome::BandDeclined: {
            // Asked only when one side is VHF and the other is not.
            const Model ours = ModelOfImage(doc.radioImage);
            const char* radio = ModelText(ours == Model::VHF ? Model::UHF : Model::VHF);
            printError(QString("%1: the radio is %2 but %3 is %4; nothing was written "
                               "(give --yes to overwrite)")
                           .arg(verb, radio, opt.dataName, ModelText(ours)));
            return kExitBandDeclined;
        }
        case ExchangeOutcome::Cancelled:
        case ExchangeOutcome::Aborted:
            break;
    }
    QString after;
    if (opt.retries > 0)
        after =
            QString(" (after %1 %2)").arg(opt.retries).arg(opt.retries == 1 ? "retry" : "retries");
    printError(verb + ": the link failed: no answer or a wrong answer from the radio" + after);
    return kExitLink;
}

// The options both verbs share; returns an exit code when parsing stops the run.
std::optional<int> parseLinkOptions(VerbParser& verb, const QStringList& args, LinkOptions& opt,
                                    std::optional<RangeKind>& range, const QString& name) {
    QCommandLineParser& p = verb.parser();
    if (auto stop = verb.parse(args)) return stop;
    if (!p.isSet("port") || p.value("port").trimmed().isEmpty()) {
        printError(name + ": give the serial port with --port PORT");
        return kExitUsage;
    }
    opt.port = p.value("port").trimmed();
    opt.quiet = p.isSet("quiet");
    opt.power.dtr = p.isSet("dtr");
    opt.power.rts = p.isSet("rts");
    if (p.isSet("retries")) {
        bool ok = false;
        opt.retries = p.value("retries").toInt(&ok);
        if (!ok || opt.retries < 0) {
            printError(name + ": --retries needs a whole number of 0 or more");
            return kExitUsage;
        }
    }
    if (p.isSet("range")) {
        range = parseRange(p.value("range"));
        if (!range) {
            printError(name + ": unknown range '" + p.value("range") + "'");
            return kExitUsage;
        }
    }
    return std::nullopt;
}

void addLinkOptions(QCommandLineParser& p, const QString& ranges) {
    p.addOption({"port", "Serial port: a number, COMn, a device name or path.", "PORT"});
    p.addOption(
        {"range", "Move this range instead of the data file's image: " + ranges + ".", "RANGE"});
    p.addOption({"retries", "Answer the retry question Retry this many times (default 0).", "N"});
    p.addOption({{"q", "quiet"}, "No progress on stderr."});
    p.addOption({"dtr", "Assert DTR while the port is open (cables powered from it)."});
    p.addOption({"rts", "Assert RTS while the port is open (cables powered from it)."});
}

QString bandText(const Document& doc) {
    QString text = QString("%1 %2-%3MHz")
                       .arg(QString::fromStdString(doc.ModelType))
                       .arg(doc.BandLowMHz)
                       .arg(doc.BandHighMHz);
    if (doc.BandTxHighMHz != doc.BandHighMHz)
        text += QString(", transmit up to %1MHz").arg(doc.BandTxHighMHz);
    return text;
}

}  // namespace

int runRead(const QStringList& args) {
    VerbParser verb("read",
                    "Reads the radio into a data file, or one memory range into a raw dump.");
    QCommandLineParser& p = verb.parser();
    addLinkOptions(p, "tune, local, stundie or special");
    p.addOption(
        {{"o", "output"}, "The file to write: FILE.rdat, or FILE.bin with --range.", "FILE"});
    LinkOptions opt;
    std::optional<RangeKind> range;
    if (auto stop = parseLinkOptions(verb, args, opt, range, "read")) return *stop;
    if (!p.isSet("output") || !p.positionalArguments().isEmpty()) {
        printError("read: give the output file with -o FILE and nothing else");
        return kExitUsage;
    }
    const QString output = p.value("output");
    // Found out before the radio is read, not after.
    if (!QFileInfo(output).absoluteDir().exists()) {
        printError("read: cannot write " + output + ": no such folder");
        return kExitFile;
    }

    Document doc;
    // A plain read fills a fresh document from the template, as the window's
    // document would be; a range dump needs nothing but the bytes.
    if (!range && !loadTemplateInto(doc, "read")) return kExitFile;
    doc.ReadMode = true;
    setRangeFlag(doc, range.value_or(RangeKind::Plain));
    const TransferRange moved = SelectTransferRange(doc, true);
    if (auto failed = runExchange(doc, opt, "read")) return *failed;

    QString error;
    QTextStream out(stdout);
    if (!range) {
        if (!SaveDataFile(doc, output, &error)) {
            printError("read: cannot write " + output + ": " + error);
            return kExitFile;
        }
        out << QFileInfo(output).fileName() << ": " << bandText(doc) << "\n";
        return kExitOk;
    }
    const RadioMemory memory = RadioMemory::of(doc);
    Bytes dump;
    for (int a = moved.first; a < moved.end; ++a) dump.push_back(memory.at(a));
    if (!WriteFileAtomically(output, dump, &error)) {
        printError("read: cannot write " + output + ": " + error);
        return kExitFile;
    }
    out << QFileInfo(output).fileName() << ": " << p.value("range") << " " << hex4(moved.first)
        << "-" << hex4(moved.end - 1) << ", " << dump.size() << " bytes\n";
    return kExitOk;
}

int runWrite(const QStringList& args) {
    VerbParser verb("write",
                    "Writes a data file (0x000-0x2FF), its tune data, or a raw dump of one range "
                    "into the radio.");
    QCommandLineParser& p = verb.parser();
    addLinkOptions(p, "tune (from FILE.rdat), stundie or special (from FILE.bin)");
    p.addOption({"yes", "Overwrite when the radio's frequency band differs."});
    p.addPositionalArgument("FILE", "FILE.rdat, or FILE.bin for --range stundie|special.");
    LinkOptions opt;
    std::optional<RangeKind> range;
    if (auto stop = parseLinkOptions(verb, args, opt, range, "write")) return *stop;
    opt.yes = p.isSet("yes");
    if (p.positionalArguments().size() != 1) {
        printError("write: give exactly one file to write");
        return kExitUsage;
    }
    if (range == RangeKind::Local) {
        printError("write: the local message range is read only");
        return kExitUsage;
    }
    const QString input = p.positionalArguments().front();

    Document doc;
    doc.ReadMode = false;
    setRangeFlag(doc, range.value_or(RangeKind::Plain));
    const bool rawDump = range == RangeKind::StunDie || range == RangeKind::Special;
    opt.dataName = rawDump ? QString("a raw dump (taken as the template's model)")
                           : QFileInfo(input).fileName();
    if (!rawDump) {
        if (!loadDataFileInto(doc, input, "write")) return kExitFile;
    } else {
        // The image (and so the model the band question compares) is the template's.
        if (!loadTemplateInto(doc, "write")) return kExitFile;
        const TransferRange moved = SelectTransferRange(doc, false);
        const qint64 size = moved.end - moved.first;
        Bytes bytes;
        const LoadResult loaded = ReadFileBytes(input, bytes, kRadioMemorySize);
        if (!loaded.ok() ||
            (static_cast<qint64>(bytes.size()) != size && bytes.size() != kRadioMemorySize)) {
            printError("write: cannot use " + input + ": " +
                       (loaded.status == LoadStatus::Unreadable
                            ? loaded.detail
                            : QString("a %1 dump is %2 bytes (or a 4096-byte memory dump)")
                                  .arg(p.value("range"))
                                  .arg(size)));
            return kExitFile;
        }
        // A whole memory dump holds the range at its own addresses.
        const int offset = bytes.size() == kRadioMemorySize ? 0 : moved.first;
        RadioMemory memory = RadioMemory::of(doc);
        for (int a = moved.first; a < moved.end; ++a)
            memory.set(a, bytes[static_cast<std::size_t>(a - offset)]);
        memory.commitTo(doc);
    }
    if (auto failed = runExchange(doc, opt, "write")) return *failed;
    QTextStream(stdout) << "Write Data OK\n";
    return kExitOk;
}

}  // namespace baldo7::cli
