// baldo7ctl read / write: one radio's transfer (its exchange, a write's read-back)
// as the transfer window runs it, with the steps around it (backups, the files) of
// the one transfer workflow. Questions are answered by the options: the band
// question by --yes, the retry question by --retries.
#include <QCoreApplication>
#include <QDir>
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
#include "compare/verify_report.h"
#include "core/model_band.h"
#include "link/serial_trace.h"
#include "service/local_message.h"
#include "storage/backups.h"
#include "storage/data_store.h"
#include "transfer/job_log.h"
#include "transfer/radio_job.h"
#include "transfer/transfer_files.h"
#include "transfer/transfer_workflow.h"

namespace baldo7::cli {

namespace {

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
    // A new phase: a bar of its own.
    void restart(const QString& what) {
        end();
        what_ = what;
        last_.clear();
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
    // The job log a write appends its rows to ("" for none), and the file it names.
    QString log;
    QString fileName;
    // Read each radio's serial number (its own record) before the write, for the log.
    bool serialNumber = false;
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

// One radio's transfer on one port: its job, the answers the options give, its
// trace, and what its end means for the exit code. Several run side by side in one
// event loop. A verified write's read-back speaks as "write PORT --verify".
class LinkRun {
public:
    LinkRun(Document& doc, const TransferRequest& request, const LinkOptions& opt,
            const QString& port, const QString& verb, const QString& tracePath)
        : doc_(doc), opt_(opt), port_(port), verb_(verb), job_(doc, request, port) {
        doc_.IsEnglish = true;
        job_.setFinishDelay(0);
        job_.setCablePower(opt.power);
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
            job_.setObserver(trace_.get());
        }
        retriesLeft_ = opt.retries;
        job_.setAnswerer([this](LinkQuestion question, const QString&) {
            if (question == LinkQuestion::BandDifferent) return opt_.yes;
            if (retriesLeft_ <= 0) return false;
            --retriesLeft_;
            if (note)
                note(QString("%1: the radio did not answer as expected; retrying (%2 of %3)")
                         .arg(stepVerb())
                         .arg(opt_.retries - retriesLeft_)
                         .arg(opt_.retries));
            return true;
        });
        QObject::connect(&job_, &RadioJob::radioSilent, [this] {
            if (toldWaiting_ || !note) return;
            toldWaiting_ = true;
            note(QString("%1: waiting for the radio on %2…").arg(stepVerb(), port_));
        });
        QObject::connect(&job_, &RadioJob::progressChanged, [this](double f, const QString& label) {
            if (progress) progress(f, label);
        });
        QObject::connect(&job_, &RadioJob::phaseChanged, [this](TransferPhase phase) {
            // The read-back answers the options afresh.
            if (phase == TransferPhase::Verifying) {
                retriesLeft_ = opt_.retries;
                toldWaiting_ = false;
            }
            if (phaseChanged) phaseChanged(phase);
        });
    }

    std::function<void(double, const QString&)> progress;
    std::function<void(const QString&)> note;
    std::function<void(TransferPhase)> phaseChanged;

    RadioJob& job() { return job_; }
    const TransferReport& report() const { return job_.report(); }
    const Document& document() const { return doc_; }
    const QString& port() const { return port_; }
    const QString& verb() const { return verb_; }
    bool traceOpen() const { return !trace_ || trace_->isOpen(); }
    QString traceError() const {
        return trace_ ? trace_->path() + ": " + trace_->errorString() : QString();
    }
    void start() { job_.start(); }
    bool finished() const { return job_.isFinished(); }

    // The exit code of the read's or write's failure, with its message; nothing when
    // it completed.
    std::optional<int> failure(QString* message) const {
        return failureOf(report().exchange, verb_, message);
    }
    // The same for a verified write's read-back, once it ran.
    std::optional<int> readBackFailure(QString* message) const {
        if (!report().readBack) return std::nullopt;
        return failureOf(*report().readBack, readBackVerb(), message);
    }

private:
    QString readBackVerb() const { return "write " + port_ + " --verify"; }
    QString stepVerb() const {
        return job_.phase() == TransferPhase::Verifying ? readBackVerb() : verb_;
    }

    std::optional<int> failureOf(const ExchangeResult& result, const QString& verb,
                                 QString* message) const {
        switch (result.outcome) {
            case ExchangeOutcome::Done:
                return std::nullopt;
            case ExchangeOutcome::PortFailed:
                *message = verb + ": " + portFailureText(port_, job_.port());
                return kExitPort;
            case ExchangeOutcome::BandDeclined: {
                // Asked only when one side is VHF and the other is not.
                const Model ours = ModelOfImage(doc_.radioImage);
                const char* radio = ModelText(ours == Model::VHF ? Model::UHF : Model::VHF);
                *message = QString(
                               "%1: the radio is %2 but %3 is %4; nothing was written "
                               "(give --yes to overwrite)")
                               .arg(verb, radio, opt_.dataName, ModelText(ours));
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
        *message = verb + ": the link failed: no answer or a wrong answer from the radio" + after;
        return kExitLink;
    }

    Document& doc_;
    const LinkOptions& opt_;
    QString port_;
    QString verb_;
    RadioJob job_;
    std::unique_ptr<SerialTrace> trace_;
    int retriesLeft_ = 0;
    bool toldWaiting_ = false;
};

// Runs one radio to its end (a verified write's read-back included), its progress
// on stderr; returns the exit code of a failure, printed, nothing when it completed.
// A read-back that differs is the caller's to report.
std::optional<int> runToEnd(LinkRun& run, const LinkOptions& opt, const QString& what) {
    ProgressPrinter progress(opt.quiet, what);
    run.progress = [&progress](double f, const QString& label) { progress.show(f, label); };
    run.note = [&progress](const QString& text) { progress.note(text); };
    run.phaseChanged = [&progress](TransferPhase phase) {
        if (phase == TransferPhase::Verifying) progress.restart("Verifying");
    };
    QEventLoop loop;
    QObject::connect(&run.job(), &RadioJob::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    run.start();
    if (!run.finished()) loop.exec();
    progress.end();
    QString message;
    std::optional<int> failed = run.failure(&message);
    if (!failed) failed = run.readBackFailure(&message);
    if (failed) printError(message);
    return failed;
}

// Opens the run's trace, runs it to its end; the exit code of a failure, printed.
std::optional<int> runTransfer(LinkRun& run, const LinkOptions& opt, const QString& what) {
    if (!run.traceOpen()) {
        printError(run.verb() + ": cannot write the trace " + run.traceError());
        return kExitFile;
    }
    return runToEnd(run, opt, what);
}

// The read-back's verdict under the write's name: exit code 6 when the radio holds
// other bytes than were sent.
std::optional<int> verifyDifference(const LinkRun& run) {
    const TransferReport& report = run.report();
    if (!report.differs()) return std::nullopt;
    // The settings are named for a write of the image; a service area's bytes are not.
    const Document* written = report.request.area == TransferArea::Data ? &run.document() : nullptr;
    for (const QString& line : VerifyFailureText(*report.verify, written, true).split('\n'))
        printError(run.verb() + ": " + line);
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

// Appends a write's row to the job log, when there is one; false (said) when the
// row could not be written.
bool logWrite(const LinkOptions& opt, const LinkRun& run, const QString& backup,
              const QString& serialNumber, const QString& band) {
    if (opt.log.isEmpty()) return true;
    const TransferReport& report = run.report();
    JobLogEntry entry = JobLogEntryOf(report, run.port());
    // The settings are named for a write of the image; a service area's bytes are not.
    if (report.differs())
        entry.verify = VerifyLogText(
            *report.verify, report.request.area == TransferArea::Data ? &run.document() : nullptr);
    entry.dataFile = opt.fileName;
    entry.backup = backup;
    entry.serialNumber = serialNumber;
    entry.band = band;
    QString error;
    if (AppendJobLog(opt.log, entry, &error)) return true;
    printError("write: cannot append to the job log " + opt.log + ": " + error);
    return false;
}

// The serial number and frequency area of a radio's record, as read into `record`.
void takeRecord(const Document& record, QString* serialNumber, QString* band) {
    *serialNumber = QString::fromLatin1(RecordedSerialNumber(record.serviceMemory).c_str());
    *band = QString::fromStdString(RecordedFrequencyArea(record.serviceMemory));
}

// One line per radio on stderr while several run: on a terminal redrawn in place,
// otherwise each change a line of its own.
class FleetProgress {
public:
    FleetProgress(const QStringList& ports, bool quiet)
        : quiet_(quiet), tty_(!quiet && stderrIsTerminal()), lines_(ports.size()) {
        for (const QString& port : ports) width_ = std::max(width_, int(port.size()));
        for (int i = 0; i < ports.size(); ++i) names_ << ports[i].leftJustified(width_);
    }
    int width() const { return width_; }

    void set(int i, const QString& what, bool logged = true) {
        const QString line = names_[i] + "  " + what;
        if (line == lines_[i]) return;
        lines_[i] = line;
        if (tty_)
            draw();
        else if (!quiet_ && logged)
            std::fprintf(stderr, "%s\n", line.simplified().toUtf8().constData());
    }
    // A note of the run's own (waiting, retrying): on a terminal in the radio's line.
    void note(int i, const QString& text) {
        if (quiet_) return;
        if (tty_)
            set(i, text.section(": ", 1));
        else
            std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
    void draw() {
        if (!tty_) return;
        if (drawn_) std::fprintf(stderr, "\x1b[%dA", int(lines_.size()));
        for (const QString& line : lines_)
            std::fprintf(stderr, "\r\x1b[K%s\n", line.toUtf8().constData());
        std::fflush(stderr);
        drawn_ = true;
    }

private:
    bool quiet_;
    bool tty_;
    QStringList names_;
    QStringList lines_;
    int width_ = 0;
    bool drawn_ = false;
};

// Runs the given runs at once in this one event loop until each has ended (a write's
// read-back included), `step` naming what they do in their lines and `done` their
// success.
void runSideBySide(const std::vector<std::pair<int, LinkRun*>>& runs, FleetProgress& lines,
                   const QString& step, const QString& done) {
    int running = 0;
    QEventLoop loop;
    for (const auto& [i, r] : runs) {
        lines.set(i, step, false);
        r->progress = [&lines, i = i, r = r, step](double f, const QString&) {
            const bool verifying = r->job().phase() == TransferPhase::Verifying;
            lines.set(i, QString("%1 %2%")
                             .arg(verifying ? QString("verifying") : step)
                             .arg(std::lround(f * 100.0), 3));
        };
        r->note = [&lines, i = i](const QString& text) { lines.note(i, text); };
        r->phaseChanged = [&, i = i, r = r](TransferPhase phase) {
            if (phase != TransferPhase::Ended) return;
            QString message;
            lines.set(
                i, r->failure(&message) || r->readBackFailure(&message) ? QString("failed") : done);
            if (--running == 0)
                QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        };
        // A pause at one radio's end must not hold the others up.
        r->job().setPauseRunsEvents(true);
    }
    lines.draw();
    for (const auto& run : runs) {
        ++running;
        run.second->start();
    }
    if (running > 0) loop.exec();
    // What the lines were told through holds this call's loop and count.
    for (const auto& run : runs) {
        run.second->progress = nullptr;
        run.second->note = nullptr;
        run.second->phaseChanged = nullptr;
    }
}

// The same file into every radio at once, one job per port in this one event loop;
// a radio that fails never stops the others, and each verifies its own write as soon
// as it is written. With --serial-number each radio's record is read first, all at
// once; a radio whose port will not open or that never answers is not written.
// Progress: one line per port. Result: a table on stdout; exit code 0 when every
// radio took the file, else the highest exit code of the failures.
int runFleetWrite(const Document& file, const TransferRequest& request, const LinkOptions& opt,
                  const QString& backup) {
    struct Radio {
        std::unique_ptr<Document> doc;     // its own copy: an exchange changes it (VOX)
        std::unique_ptr<Document> record;  // takes the local message record
        std::unique_ptr<LinkRun> serialRun, run;
        QString serialNumber, band;
        // The run its row reports: the write, or the read that kept it from one.
        LinkRun& last() const { return run ? *run : *serialRun; }
    };
    const int n = static_cast<int>(opt.ports.size());
    std::vector<Radio> radios(n);
    FleetProgress lines(opt.ports, opt.quiet);

    if (opt.serialNumber) {
        std::vector<std::pair<int, LinkRun*>> reads;
        for (int i = 0; i < n; ++i) {
            const QString& port = opt.ports[i];
            radios[i].record = std::make_unique<Document>(file);
            radios[i].serialRun = std::make_unique<LinkRun>(
                *radios[i].record, TransferRequest::read(TransferArea::Local), opt, port,
                "write " + port + " --serial-number", QString());
            reads.emplace_back(i, radios[i].serialRun.get());
        }
        runSideBySide(reads, lines, "serial number", "serial number read");
    }
    std::vector<std::pair<int, LinkRun*>> writes;
    for (int i = 0; i < n; ++i) {
        Radio& radio = radios[i];
        const QString& port = opt.ports[i];
        if (radio.serialRun) {
            const TransferReport& read = radio.serialRun->report();
            if (!RadioAnswered(read)) continue;
            if (read.moved()) takeRecord(*radio.record, &radio.serialNumber, &radio.band);
        }
        radio.doc = std::make_unique<Document>(file);
        radio.run = std::make_unique<LinkRun>(*radio.doc, request, opt, port, "write " + port,
                                              fleetTracePath(opt.trace, port));
        if (!radio.run->traceOpen()) {
            printError("write: cannot write the trace " + radio.run->traceError());
            return kExitFile;
        }
        writes.emplace_back(i, radio.run.get());
    }
    runSideBySide(writes, lines, "writing", "done");

    int exitCode = kExitOk;
    QTextStream out(stdout);
    const int width = lines.width();
    out << QString("PORT").leftJustified(width) << "  OUTCOME       MODEL  SECONDS  VERIFIED"
        << (opt.serialNumber ? "  SERIAL" : "") << "\n";
    // Radios that failed say why on stderr, one line each, before the table's rows.
    for (int i = 0; i < n; ++i) {
        const Radio& radio = radios[i];
        const LinkRun& r = radio.last();
        QString message;
        const std::optional<int> failed = r.failure(&message);
        if (failed) {
            printError(message);
            exitCode = std::max(exitCode, *failed);
        }
        std::optional<int> verifyFailed;
        if (!failed && radio.run && request.verify) {
            verifyFailed = r.readBackFailure(&message);
            if (verifyFailed)
                printError(message);
            else
                verifyFailed = verifyDifference(r);
            if (verifyFailed) exitCode = std::max(exitCode, *verifyFailed);
        }
        const QString outcome = !failed                        ? QString("written")
                                : *failed == kExitPort         ? QString("port failed")
                                : *failed == kExitBandDeclined ? QString("band differs")
                                                               : QString("link failed");
        const QString verified =
            !request.verify || failed ? QString("no")
            : verifyFailed ? (*verifyFailed == kExitVerify ? QString("DIFFERS") : QString("unread"))
                           : QString("yes");
        const QString model =
            r.report().radioModel().isEmpty() ? QString("-") : r.report().radioModel();
        out << opt.ports[i].leftJustified(width) << "  " << outcome.leftJustified(12) << "  "
            << model.leftJustified(5) << "  "
            << QString::number(r.report().exchangeMs / 1000.0, 'f', 2).rightJustified(7) << "  "
            << (opt.serialNumber ? verified.leftJustified(8) + "  " +
                                       (radio.serialNumber.isEmpty() ? "-" : radio.serialNumber)
                                 : verified)
            << "\n";
        if (!logWrite(opt, r, backup, radio.serialNumber, radio.band))
            exitCode = std::max(exitCode, static_cast<int>(kExitFile));
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

void printBackupFailure(const QString& verb, const QString& folder, const QString& error) {
    printError(verb + ": cannot write the backup in " + folder + ": " + error);
}

// The transfer workflow as the command line runs it: each exchange one radio run to
// its end (the read of what the radio holds, before a write of a range, under the
// write's name and without its trace), a failed backup said on stderr and, before
// anything is sent, the end of the command.
class CliTransfer {
public:
    CliTransfer(const LinkOptions& opt, const QString& verb)
        : opt_(opt),
          verb_(verb),
          workflow_({[this](Document& doc, const TransferRequest& request,
                            ExchangePurpose purpose) { return exchange(doc, request, purpose); },
                     [this](const BackupFailure& f) {
                         printBackupFailure(verb_, f.folder, f.error);
                         return false;
                     }}) {}

    // --backup-dir (empty: none) keeps the backups.
    WorkflowResult run(Document& doc, const TransferRequest& request, const QString& folder) {
        return workflow_.run(doc, request, opt_.port, WorkflowSettings{folder, false});
    }
    // The exit code of the exchange that failed, its message printed.
    const std::optional<int>& failed() const { return failed_; }
    // The run of the exchange asked for, once it ran.
    const LinkRun* asked() const { return asked_.get(); }

private:
    TransferReport exchange(Document& doc, const TransferRequest& request,
                            ExchangePurpose purpose) {
        const bool keeping = purpose == ExchangePurpose::KeepRadio;
        auto run = std::make_unique<LinkRun>(doc, request, opt_, opt_.port, verb_,
                                             keeping ? QString() : opt_.trace);
        failed_ = runTransfer(*run, opt_, request.reading() ? "Reading" : "Writing");
        const TransferReport report = run->report();
        if (!keeping) asked_ = std::move(run);
        return report;
    }

    const LinkOptions& opt_;
    QString verb_;
    TransferWorkflow workflow_;
    std::optional<int> failed_;
    std::unique_ptr<LinkRun> asked_;
};

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

}  // namespace

std::optional<int> readRadioInto(Document& doc, const QString& port, bool quiet, bool dtr, bool rts,
                                 const QString& verb) {
    if (!loadTemplateInto(doc, verb)) return kExitFile;
    LinkOptions opt;
    opt.port = port;
    opt.ports = QStringList{port};
    opt.quiet = quiet;
    opt.power.dtr = dtr;
    opt.power.rts = rts;
    LinkRun run(doc, TransferRequest::read(), opt, port, verb, QString());
    return runTransfer(run, opt, "Reading");
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
    CliTransfer transfer(opt, "read");
    // The backup first: it is kept even when the output cannot be written. Its
    // failure loses nothing the output does not hold, so the output still goes.
    const WorkflowResult result = transfer.run(doc, request, p.value("backup-dir"));
    if (transfer.failed()) return *transfer.failed();
    QString error;
    const QString written = SaveReadResult(doc, request, output, &error);
    if (written.isEmpty()) {
        printError("read: cannot write " + output + ": " + error);
        return kExitFile;
    }
    QTextStream(stdout) << written << "\n";
    return result.backupFailed ? kExitFile : kExitOk;
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
    p.addOption({"log",
                 "Append one row per radio to the job log FILE.csv (default with --backup-dir: "
                 "jobs/DATE.csv beside DIR).",
                 "FILE"});
    p.addOption({"serial-number",
                 "Read each radio's serial number (its local message record) first, for the "
                 "job log; a radio that does not answer it is not written."});
    p.addPositionalArgument("FILE", "FILE.rdat, or FILE.bin for --range tune|stundie|special.");
    LinkOptions opt;
    std::optional<TransferArea> range;
    if (auto stop = parseLinkOptions(verb, args, opt, range, "write")) return *stop;
    opt.yes = p.isSet("yes");
    opt.serialNumber = p.isSet("serial-number");
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
    const bool rawDump = WritesRawDump(request.area, QFileInfo(input).size());
    opt.dataName = rawDump ? QString("a raw dump (taken as the template's model)")
                           : QFileInfo(input).fileName();
    if (!rawDump) {
        if (!loadDataFileInto(doc, input, "write")) return kExitFile;
    } else {
        // The image (and so the model the band question compares) is the template's.
        if (!loadTemplateInto(doc, "write")) return kExitFile;
        QString error;
        if (!LoadRawDump(doc, request, input, &error)) {
            printError("write: cannot use " + input + ": " + error);
            return kExitFile;
        }
    }
    // Before anything reaches a radio: no backup, no write.
    const QString folder = p.value("backup-dir");
    opt.log = p.value("log");
    if (opt.log.isEmpty() && !folder.isEmpty())
        opt.log = JobLogPath(JobLogFolder(folder), QDate::currentDate());
    opt.fileName = QFileInfo(input).fileName();
    if (opt.ports.size() > 1) {
        if (!folder.isEmpty() && range) {
            printError("write: --backup-dir with --range keeps one radio's data: give one --port");
            return kExitUsage;
        }
        QString error, backup;
        if (!folder.isEmpty()) {
            backup = KeepBackup(doc, folder, BackupKind::BeforeWrite, BackupRange::Data, &error);
            if (backup.isEmpty()) {
                printBackupFailure("write", folder, error);
                return kExitFile;
            }
        }
        return runFleetWrite(doc, request, opt, backup);
    }
    QString serialNumber, band;
    if (opt.serialNumber) {
        Document record(doc);
        LinkRun read(record, TransferRequest::read(TransferArea::Local), opt, opt.port,
                     "write --serial-number", QString());
        const std::optional<int> failed = runTransfer(read, opt, "Serial number");
        // A radio that never answered takes no write either; it has its row.
        if (failed && !RadioAnswered(read.report())) {
            logWrite(opt, read, QString(), QString(), QString());
            return *failed;
        }
        if (read.report().moved()) {
            takeRecord(record, &serialNumber, &band);
            QTextStream(stdout) << "Serial number: "
                                << (serialNumber.isEmpty() ? QString("(none)") : serialNumber)
                                << "\n";
        }
    }
    CliTransfer transfer(opt, "write");
    const WorkflowResult result = transfer.run(doc, request, folder);
    if (result.stopped == WorkflowStop::BackupRefused) return kExitFile;
    // The write ran: its row goes to the log whatever its end.
    const bool logged =
        !transfer.asked() ||
        logWrite(opt, *transfer.asked(),
                 result.backups.isEmpty() ? QString() : result.backups.last(), serialNumber, band);
    if (transfer.failed()) return *transfer.failed();
    // Success only once the radio is known to hold what was sent.
    if (request.verify) {
        if (auto differs = verifyDifference(*transfer.asked())) return *differs;
        QTextStream(stdout) << "Write Data OK\nVerify OK\n";
        return logged ? kExitOk : kExitFile;
    }
    QTextStream(stdout) << "Write Data OK\n";
    return logged ? kExitOk : kExitFile;
}

}  // namespace baldo7::cli
