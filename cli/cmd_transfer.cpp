// baldo7ctl read / write: one programming exchange over a serial port, the same
// engine the transfer window runs. Questions are answered by the options: the band
// question by --yes, the retry question by --retries.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "cli/commands.h"
#include "cli/terminal.h"
#include "cli/verb_parser.h"
#include "core/model_band.h"
#include "link/exchange_qt_host.h"
#include "link/serial_trace.h"
#include "storage/backups.h"
#include "storage/data_store.h"

namespace baldo7::cli {

namespace {

QString hex4(int value) {
    return "0x" + QString::number(value, 16).toUpper().rightJustified(4, '0');
}

// Progress on stderr: a bar on a terminal, the window's label otherwise.
class ProgressPrinter {
public:
    ProgressPrinter(bool quiet, const QString& what)
        : quiet_(quiet), tty_(stderrIsTerminal()), what_(what) {}
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
    QStringList ports;  // every --port given; several only for a fleet write
    QString trace;
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

// One exchange on one port: its host, the answers the options give, its trace, and
// what its end means for the exit code. Several run side by side in one event loop.
// A verified write's read-back runs on the host the write hands on, with its trace.
class LinkRun {
public:
    LinkRun(Document& doc, const TransferRequest& request, const LinkOptions& opt,
            const QString& port, const QString& verb, const QString& tracePath,
            std::unique_ptr<QtExchangeHost> readBack = nullptr)
        : doc_(doc),
          opt_(opt),
          port_(port),
          verb_(verb),
          host_(readBack ? std::move(readBack)
                         : std::make_unique<QtExchangeHost>(doc, request, port)) {
        doc_.IsEnglish = true;
        host_->setFinishDelay(0);
        host_->setCablePower(opt.power);
        if (!tracePath.isEmpty()) {
            QString what = request.reading() ? "read" : "write";
            const TransferRange r = request.moves(doc.BandLowMHz);
            what += QString(", 0x%1-0x%2")
                        .arg(r.first, 4, 16, QChar('0'))
                        .arg(r.end - 1, 4, 16, QChar('0'))
                        .toUpper()
                        .replace("0X", "0x");
            trace_ = std::make_unique<SerialTrace>(
                tracePath, "baldo7ctl " + QCoreApplication::applicationVersion(), port, what);
            host_->setObserver(trace_.get());
        }
        retriesLeft_ = opt.retries;
        host_->setAnswerer([this](LinkQuestion question, const QString&) {
            if (question == LinkQuestion::BandDifferent) return opt_.yes;
            if (retriesLeft_ <= 0) return false;
            --retriesLeft_;
            if (note)
                note(QString("%1: the radio did not answer as expected; retrying (%2 of %3)")
                         .arg(verb_)
                         .arg(opt_.retries - retriesLeft_)
                         .arg(opt_.retries));
            return true;
        });
        QObject::connect(host_.get(), &QtExchangeHost::radioSilent, [this] {
            if (toldWaiting_ || !note) return;
            toldWaiting_ = true;
            note(QString("%1: waiting for the radio on %2…").arg(verb_, port_));
        });
        QObject::connect(host_.get(), &QtExchangeHost::progressChanged,
                         [this](double f, const QString& label) {
                             if (progress) progress(f, label);
                         });
    }

    std::function<void(double, const QString&)> progress;
    std::function<void(const QString&)> note;

    QtExchangeHost& host() { return *host_; }
    const QString& port() const { return port_; }
    const QString& verb() const { return verb_; }
    bool traceOpen() const { return !trace_ || trace_->isOpen(); }
    QString traceError() const {
        return trace_ ? trace_->path() + ": " + trace_->errorString() : QString();
    }
    void start() {
        clock_.start();
        host_->start();
    }
    bool finished() const { return host_->isFinished(); }
    double seconds() const { return clock_.elapsed() / 1000.0; }
    // The radio's model from its identification reply, empty before it came.
    QString radioModel() const {
        const Bytes& id = host_->engine().identification();
        if (id.size() < 2) return {};
        return id[1] == wire::kVhfDigit ? "VHF" : "UHF";
    }

    // The exit code of a failure, with its message; nothing when it ended with TransferOK.
    std::optional<int> failure(QString* message) const {
        switch (host_->result().outcome) {
            case ExchangeOutcome::Done:
                return std::nullopt;
            case ExchangeOutcome::PortFailed:
                *message = verb_ + ": " + portFailureText(port_, host_->port());
                return kExitPort;
            case ExchangeOutcome::BandDeclined: {
                // Asked only when one side is VHF and the other is not.
                const Model ours = ModelOfImage(doc_.radioImage);
                const char* radio = ModelText(ours == Model::VHF ? Model::UHF : Model::VHF);
                *message = QString(
                               "%1: the radio is %2 but %3 is %4; nothing was written "
                               "(give --yes to overwrite)")
                               .arg(verb_, radio, opt_.dataName, ModelText(ours));
                return kExitBandDeclined;
            }
            case ExchangeOutcome::Cancelled:
            case ExchangeOutcome::Aborted:
                break;
        }
        QString after;
        if (opt_.retries > 0)
            after = QString(" (after %1 %2)")
                        .arg(opt_.retries)
                        .arg(opt_.retries == 1 ? "retry" : "retries");
        *message = verb_ + ": the link failed: no answer or a wrong answer from the radio" + after;
        return kExitLink;
    }

private:
    Document& doc_;
    const LinkOptions& opt_;
    QString port_;
    QString verb_;
    std::unique_ptr<QtExchangeHost> host_;
    std::unique_ptr<SerialTrace> trace_;
    int retriesLeft_ = 0;
    bool toldWaiting_ = false;
    QElapsedTimer clock_;
};

// Runs one exchange to its end, its progress on stderr; returns the exit code of a
// failure, nothing when it ended with TransferOK.
std::optional<int> runToEnd(LinkRun& run, const LinkOptions& opt, const QString& what) {
    ProgressPrinter progress(opt.quiet, what);
    run.progress = [&progress](double f, const QString& label) { progress.show(f, label); };
    run.note = [&progress](const QString& text) { progress.note(text); };
    QEventLoop loop;
    QObject::connect(&run.host(), &QtExchangeHost::exchangeFinished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    run.start();
    if (!run.finished()) loop.exec();
    progress.end();
    QString message;
    const std::optional<int> failed = run.failure(&message);
    if (failed) printError(message);
    return failed;
}

// Runs the exchange `request` asks for; `radioModel` receives the model of the
// radio's identification reply.
std::optional<int> runExchange(Document& doc, const TransferRequest& request,
                               const LinkOptions& opt, const QString& verb,
                               QString* radioModel = nullptr) {
    LinkRun run(doc, request, opt, opt.port, verb, opt.trace);
    if (!run.traceOpen()) {
        printError(verb + ": cannot write the trace " + run.traceError());
        return kExitFile;
    }
    const std::optional<int> failed = runToEnd(run, opt, request.reading() ? "Reading" : "Writing");
    if (radioModel) *radioModel = run.radioModel();
    return failed;
}

// Reads back the blocks a completed write sent, over its line and into its trace,
// on a copy of the document (the document keeps what was written), and compares
// them with what the radio returned for their addresses. Returns the exit code of a
// failure or a difference, with its message printed under the write's name.
std::optional<int> verifyWrite(LinkRun& write, const Document& doc, const LinkOptions& opt) {
    if (write.host().result().written.empty()) return std::nullopt;
    Document readBack = doc;
    LinkRun run(readBack, TransferRequest::read(), opt, write.port(),
                "write " + write.port() + " --verify", QString(),
                write.host().readBackHost(readBack));
    if (auto failed = runToEnd(run, opt, "Verifying")) return failed;
    const VerifyResult& result = *run.host().verifyResult();
    if (result.ok()) return std::nullopt;
    printError(write.verb() + ": " + QString::fromStdString(VerifyReportText(result, true)));
    return kExitVerify;
}

// The trace file of one radio of several: FILE with the port's device name before
// its extension.
QString fleetTracePath(const QString& trace, const QString& port) {
    if (trace.isEmpty()) return {};
    QString tag = resolveSerialPortName(port);
    if (tag.startsWith("/dev/")) tag = tag.mid(5);
    tag.replace(QRegularExpression("[^A-Za-z0-9_.-]"), "_");
    const QFileInfo f(trace);
    const QString suffix = f.suffix().isEmpty() ? QString() : "." + f.suffix();
    return f.dir().filePath(f.completeBaseName() + "-" + tag + suffix);
}

// The same file into every radio at once, one exchange per port in this one event
// loop; a radio that fails never stops the others. Progress: one line per port (on
// a terminal, redrawn in place). Result: a table on stdout; exit code 0 when every
// radio took the file, else the highest exit code of the failures.
int runFleetWrite(const Document& file, const TransferRequest& request, const LinkOptions& opt) {
    const int n = static_cast<int>(opt.ports.size());
    std::vector<std::unique_ptr<Document>> docs;
    std::vector<std::unique_ptr<LinkRun>> runs;
    const bool tty = !opt.quiet && stderrIsTerminal();
    QStringList lines(n);
    int width = 0;
    for (const QString& port : opt.ports) width = std::max(width, static_cast<int>(port.size()));
    bool drawn = false;
    auto draw = [&] {
        if (!tty) return;
        if (drawn) std::fprintf(stderr, "\x1b[%dA", n);
        for (const QString& line : lines)
            std::fprintf(stderr, "\r\x1b[K%s\n", line.toUtf8().constData());
        std::fflush(stderr);
        drawn = true;
    };
    int running = 0;
    QEventLoop loop;
    for (int i = 0; i < n; ++i) {
        const QString port = opt.ports[i];
        // Each radio its own copy: an exchange changes its document (VOX).
        docs.push_back(std::make_unique<Document>(file));
        Document& doc = *docs.back();
        auto run = std::make_unique<LinkRun>(doc, request, opt, port, "write " + port,
                                             fleetTracePath(opt.trace, port));
        if (!run->traceOpen()) {
            printError("write: cannot write the trace " + run->traceError());
            return kExitFile;
        }
        LinkRun* r = run.get();
        const QString name = port.leftJustified(width);
        lines[i] = name + "  waiting";
        r->progress = [&, i, name](double f, const QString&) {
            const QString line = name + "  " + QString("%1%").arg(std::lround(f * 100.0), 3);
            if (line == lines[i]) return;
            lines[i] = line;
            if (tty)
                draw();
            else if (!opt.quiet)
                std::fprintf(stderr, "%s\n", line.simplified().toUtf8().constData());
        };
        r->note = [&, i, name](const QString& text) {
            if (opt.quiet) return;
            if (!tty) {
                std::fprintf(stderr, "%s\n", text.toUtf8().constData());
                return;
            }
            lines[i] = name + "  " + text.section(": ", 1);
            draw();
        };
        QObject::connect(
            &r->host(), &QtExchangeHost::exchangeFinished, &loop,
            [&, i, name, r] {
                QString message;
                lines[i] =
                    name + "  " + (r->failure(&message) ? QString("failed") : QString("done"));
                draw();
                if (--running == 0) loop.quit();
            },
            Qt::QueuedConnection);
        // A pause at one radio's end must not hold the others up.
        r->host().setPauseRunsEvents(true);
        runs.push_back(std::move(run));
    }
    draw();
    for (auto& r : runs) {
        ++running;
        r->start();
    }
    if (running > 0) loop.exec();

    // Each radio that took the file is read back, one after the other: the writes
    // are what takes long, a read-back of a faithful radio is over in seconds.
    std::vector<std::optional<int>> verifyFailed(n);
    const bool verify = request.verify;
    if (verify) {
        for (int i = 0; i < n; ++i) {
            QString ignored;
            if (runs[i]->failure(&ignored)) continue;
            verifyFailed[i] = verifyWrite(*runs[i], *docs[i], opt);
        }
    }

    int exitCode = kExitOk;
    QTextStream out(stdout);
    out << QString("PORT").leftJustified(width) << "  OUTCOME       MODEL  SECONDS  VERIFIED\n";
    // Radios that failed say why on stderr, one line each, before the table's rows.
    for (int i = 0; i < n; ++i) {
        LinkRun& r = *runs[i];
        QString message;
        const std::optional<int> failed = r.failure(&message);
        if (failed) {
            printError(message);
            exitCode = std::max(exitCode, *failed);
        }
        if (verifyFailed[i]) exitCode = std::max(exitCode, *verifyFailed[i]);
        const QString outcome = !failed                        ? QString("written")
                                : *failed == kExitPort         ? QString("port failed")
                                : *failed == kExitBandDeclined ? QString("band differs")
                                                               : QString("link failed");
        const QString verified =
            !verify || failed ? QString("no")
            : verifyFailed[i]
                ? (*verifyFailed[i] == kExitVerify ? QString("DIFFERS") : QString("unread"))
                : QString("yes");
        const QString model = r.radioModel().isEmpty() ? QString("-") : r.radioModel();
        out << opt.ports[i].leftJustified(width) << "  " << outcome.leftJustified(12) << "  "
            << model.leftJustified(5) << "  "
            << QString::number(r.seconds(), 'f', 2).rightJustified(7) << "  " << verified << "\n";
    }
    return exitCode;
}

// The options both verbs share; returns an exit code when parsing stops the run.
std::optional<int> parseLinkOptions(VerbParser& verb, const QStringList& args, LinkOptions& opt,
                                    std::optional<TransferArea>& range, const QString& name) {
    QCommandLineParser& p = verb.parser();
    if (auto stop = verb.parse(args)) return stop;
    if (!p.isSet("port") || p.value("port").trimmed().isEmpty()) {
        printError(name + ": give the serial port with --port PORT");
        return kExitUsage;
    }
    opt.port = p.value("port").trimmed();
    for (const QString& port : p.values("port"))
        if (!port.trimmed().isEmpty()) opt.ports << port.trimmed();
    opt.trace = p.value("trace");
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
        range = TransferAreaNamed(p.value("range").toStdString());
        if (!range) {
            printError(name + ": unknown range '" + p.value("range") + "'");
            return kExitUsage;
        }
    }
    return std::nullopt;
}

// --backup-dir: a backup of `kind` in `folder` (the GUI's names, atomic): a data file,
// or the dump of the document's service range; then backups older than a year
// pruned. False with the error printed.
bool writeCliBackup(const Document& doc, const QString& folder, BackupKind kind, BackupRange range,
                    const QString& verb) {
    const QDateTime now = QDateTime::currentDateTime();
    QString error;
    const QString path = WriteBackup(doc, folder, kind, now, &error, range);
    if (path.isEmpty()) {
        printError(verb + ": cannot write the backup in " + folder + ": " + error);
        return false;
    }
    PruneBackups(folder, now);
    return true;
}

// A service write keeps what the radio holds in the range: read it now, on a copy,
// and keep it (named with the radio's model) with what is about to be sent. Nothing
// is sent unless both are on disk. Returns the exit code of a failure.
std::optional<int> keepServiceBackups(Document& doc, BackupRange range, const LinkOptions& opt,
                                      const QString& folder) {
    Document radio = doc;
    LinkOptions once = opt;
    once.trace.clear();  // the trace is the write's
    QString model;
    if (auto failed = runExchange(radio, TransferRequest::read(range), once, "write", &model))
        return failed;
    radio.ModelType = doc.ModelType = model.toStdString();
    if (!writeCliBackup(radio, folder, BackupKind::Read, range, "write") ||
        !writeCliBackup(doc, folder, BackupKind::BeforeWrite, range, "write"))
        return kExitFile;
    return std::nullopt;
}

void addLinkOptions(QCommandLineParser& p, const QString& ranges) {
    p.addOption({"port", "Serial port: a number, COMn, a device name or path.", "PORT"});
    p.addOption(
        {"range", "Move this range instead of the data file's image: " + ranges + ".", "RANGE"});
    p.addOption({"retries", "Answer the retry question Retry this many times (default 0).", "N"});
    p.addOption({{"q", "quiet"}, "No progress on stderr."});
    p.addOption({"trace", "Write a serial trace of the exchange to FILE (docs/trace.md).", "FILE"});
    p.addOption({"backup-dir",
                 "Keep dated backups in DIR: the data read, or the data about to be written "
                 "(with --range, also what the radio held before).",
                 "DIR"});
    p.addOption({"dtr", "Assert DTR while the port is open (cables powered from it)."});
    p.addOption({"rts", "Assert RTS while the port is open (cables powered from it)."});
}

QString bandText(const Document& doc) {
    return QString::fromStdString(ModelBandText(doc, true));
}

}  // namespace

std::optional<int> readRadioInto(Document& doc, const QString& port, bool quiet, bool dtr,
                                 bool rts, const QString& verb) {
    if (!loadTemplateInto(doc, verb)) return kExitFile;
    LinkOptions opt;
    opt.port = port;
    opt.ports = QStringList{port};
    opt.quiet = quiet;
    opt.power.dtr = dtr;
    opt.power.rts = rts;
    doc.ReadMode = true;
    setRangeFlag(doc, RangeKind::Plain);
    return runExchange(doc, opt, verb);
}

int runRead(const QStringList& args) {
    VerbParser verb("read",
                    "Reads the radio into a data file, or one memory range into a raw dump.");
    QCommandLineParser& p = verb.parser();
    addLinkOptions(p, "tune, local, stundie or special");
    p.addOption(
        {{"o", "output"}, "The file to write: FILE.rdat, or FILE.bin with --range.", "FILE"});
    LinkOptions opt;
    std::optional<TransferArea> range;
    if (auto stop = parseLinkOptions(verb, args, opt, range, "read")) return *stop;
    if (opt.ports.size() > 1) {
        printError("read: give one --port (several are for write)");
        return kExitUsage;
    }
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
    const TransferRequest request = TransferRequest::read(range.value_or(TransferArea::Data));
    const TransferRange moved = request.moves(doc.BandLowMHz);
    const BackupRange kept = request.area;
    QString radioModel;
    if (auto failed = runExchange(doc, request, opt, "read", &radioModel)) return *failed;
    if (range) doc.ModelType = radioModel.toStdString();  // no template: the name's model

    QString error;
    QTextStream out(stdout);
    // The backup first: it is kept even when the output cannot be written. Its
    // failure loses nothing the output does not hold, so the output still goes.
    const bool backedUp = !p.isSet("backup-dir") || writeCliBackup(doc, p.value("backup-dir"),
                                                                   BackupKind::Read, kept, "read");
    if (!range) {
        if (!SaveDataFile(doc, output, &error)) {
            printError("read: cannot write " + output + ": " + error);
            return kExitFile;
        }
        out << QFileInfo(output).fileName() << ": " << bandText(doc) << "\n";
        return backedUp ? kExitOk : kExitFile;
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
    return backedUp ? kExitOk : kExitFile;
}

int runWrite(const QStringList& args) {
    VerbParser verb("write",
                    "Writes a data file (0x000-0x2FF), its tune data, or a raw dump of one range "
                    "into the radio.");
    QCommandLineParser& p = verb.parser();
    addLinkOptions(p, "tune (from FILE.rdat or FILE.bin), stundie or special (from FILE.bin)");
    p.addOption({"yes", "Overwrite when the radio's frequency band differs."});
    p.addOption({"verify",
                 "Read the written range back and compare it with what was sent (exit 6 when "
                 "it differs)."});
    p.addPositionalArgument("FILE", "FILE.rdat, or FILE.bin for --range tune|stundie|special.");
    LinkOptions opt;
    std::optional<TransferArea> range;
    if (auto stop = parseLinkOptions(verb, args, opt, range, "write")) return *stop;
    opt.yes = p.isSet("yes");
    if (p.positionalArguments().size() != 1) {
        printError("write: give exactly one file to write");
        return kExitUsage;
    }
    if (range == TransferArea::Local) {
        printError("write: the local message range is read only");
        return kExitUsage;
    }
    const QString input = p.positionalArguments().front();

    Document doc;
    TransferRequest request =
        TransferRequest::write(range.value_or(TransferArea::Data), p.isSet("verify"));
    // A raw dump holds the range as `read --range` or a backup keeps it (for tune
    // data also just the page 0x0300-0x03FF), or the whole 4096-byte memory.
    const BackupRange service = request.area;
    const TransferRange readSpan = ServiceBackupSpan(service, BackupKind::Read);
    const TransferRange writeSpan = ServiceBackupSpan(service, BackupKind::BeforeWrite);
    const qint64 readSize = readSpan.end - readSpan.first;
    const qint64 writeSize = writeSpan.end - writeSpan.first;
    const qint64 inputSize = QFileInfo(input).size();
    const bool rawTune =
        range == TransferArea::Tune && (inputSize == readSize || inputSize == writeSize ||
                                        inputSize == static_cast<qint64>(kRadioMemorySize));
    const bool rawDump =
        range == TransferArea::StunDie || range == TransferArea::Special || rawTune;
    opt.dataName = rawDump ? QString("a raw dump (taken as the template's model)")
                           : QFileInfo(input).fileName();
    if (!rawDump) {
        if (!loadDataFileInto(doc, input, "write")) return kExitFile;
    } else {
        // The image (and so the model the band question compares) is the template's.
        if (!loadTemplateInto(doc, "write")) return kExitFile;
        Bytes bytes;
        const LoadResult loaded = ReadFileBytes(input, bytes, kRadioMemorySize);
        const qint64 size = static_cast<qint64>(bytes.size());
        if (!loaded.ok() ||
            (size != readSize && size != writeSize && bytes.size() != kRadioMemorySize)) {
            const QString sizes = readSize == writeSize
                                      ? QString::number(readSize)
                                      : QString("%1 or %2").arg(readSize).arg(writeSize);
            printError("write: cannot use " + input + ": " +
                       (loaded.status == LoadStatus::Unreadable
                            ? loaded.detail
                            : QString("a %1 dump is %2 bytes (or a 4096-byte memory dump)")
                                  .arg(p.value("range"), sizes)));
            return kExitFile;
        }
        // A whole memory dump holds the range at its own addresses.
        const int offset = bytes.size() == kRadioMemorySize ? 0 : readSpan.first;
        const int end = std::min<int>(readSpan.end, offset + static_cast<int>(size));
        RadioMemory memory = RadioMemory::of(doc);
        for (int a = readSpan.first; a < end; ++a)
            memory.set(a, bytes[static_cast<std::size_t>(a - offset)]);
        memory.commitTo(doc);
    }
    // A tune dump goes back whole: every block of the page, not only the rows of the
    // template's band (the dump has no band of its own).
    if (rawTune)
        request.range = TransferRange{writeSpan.first, writeSpan.end, writeSpan.first, false};
    // Before anything reaches a radio: no backup, no write.
    if (p.isSet("backup-dir")) {
        const QString folder = p.value("backup-dir");
        if (!range) {
            if (!writeCliBackup(doc, folder, BackupKind::BeforeWrite, BackupRange::Data, "write"))
                return kExitFile;
        } else if (opt.ports.size() > 1) {
            printError("write: --backup-dir with --range keeps one radio's data: give one --port");
            return kExitUsage;
        } else if (auto failed = keepServiceBackups(doc, request.area, opt, folder)) {
            return *failed;
        }
    }
    if (opt.ports.size() > 1) return runFleetWrite(doc, request, opt);
    LinkRun run(doc, request, opt, opt.port, "write", opt.trace);
    if (!run.traceOpen()) {
        printError("write: cannot write the trace " + run.traceError());
        return kExitFile;
    }
    if (auto failed = runToEnd(run, opt, "Writing")) return *failed;
    // Success only once the radio is known to hold what was sent.
    if (request.verify) {
        if (auto failed = verifyWrite(run, doc, opt)) return *failed;
        QTextStream(stdout) << "Write Data OK\nVerify OK\n";
        return kExitOk;
    }
    QTextStream(stdout) << "Write Data OK\n";
    return kExitOk;
}

}  // namespace baldo7::cli
