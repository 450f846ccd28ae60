#include "dealer/several_radios_run.h"

#include <QDate>
#include <QFileInfo>

#include "compare/verify_report.h"
#include "core/model_band.h"
#include "link/serial_port.h"
#include "service/local_message.h"
#include "transfer/transfer_workflow.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
// The differences a verify names in the row before it says how many more there are.
constexpr int kDifferencesNamed = 3;
}  // namespace

struct SeveralRadiosRun::Radio {
    QString port;
    // Each radio its own copy: an exchange changes its document (VOX).
    Document doc;
    Document record;  // takes the local message record
    std::unique_ptr<RadioJob> job;
    // Jobs that ended: each is deleted with the run, never from its own signal.
    std::vector<std::unique_ptr<RadioJob>> spent;
    QString serialNumber;
    QString band;
    bool cancelled = false;
};

SeveralRadiosRun::SeveralRadiosRun(SeveralRadiosContext context, QObject* parent)
    : QObject(parent), context_(std::move(context)) {}

SeveralRadiosRun::~SeveralRadiosRun() {
    for (auto& radio : radios_)
        if (radio->job) radio->job->disconnect(this);
}

bool SeveralRadiosRun::running() const {
    for (const RadioRow& row : rows_)
        if (!row.ended()) return true;
    return false;
}

int SeveralRadiosRun::doneCount() const {
    int done = 0;
    for (const RadioRow& row : rows_)
        done += row.ended() && row.outcome == JobOutcome::Written ? 1 : 0;
    return done;
}

bool SeveralRadiosRun::start(const Document& doc, const QStringList& ports,
                             const SeveralRadiosOptions& options) {
    if (running()) return false;
    doc_ = std::make_unique<Document>(doc);
    doc_->onChangeRecorded = nullptr;
    ports_ = ports;
    options_ = options;
    return startNext();
}

bool SeveralRadiosRun::startNext() {
    if (running() || !doc_) return false;
    error_.clear();
    backup_.clear();
    cancelling_ = false;
    // Nothing is sent unless what is about to be sent is on disk first.
    if (options_.backup && !context_.backupFolder.isEmpty()) {
        QString why;
        backup_ = KeepBackup(*doc_, context_.backupFolder, BackupKind::BeforeWrite,
                             BackupRange::Data, &why);
        if (backup_.isEmpty()) {
            error_ = uiText(several_texts::kBackupFailed, doc_->IsEnglish)
                         .arg(context_.backupFolder + QLatin1Char('\n') + why);
            return false;
        }
    }
    // The jobs of the last run have ended: they may go now.
    radios_.clear();
    rows_.clear();
    for (const QString& port : ports_) {
        auto radio = std::make_unique<Radio>();
        radio->port = port;
        radio->doc = *doc_;
        radio->record = *doc_;
        radios_.push_back(std::move(radio));
        RadioRow row;
        row.port = port;
        rows_.push_back(row);
    }
    for (int i = 0; i < static_cast<int>(radios_.size()); ++i) startRadio(i);
    if (radios_.empty()) emit finished();
    return true;
}

std::unique_ptr<RadioJob> SeveralRadiosRun::makeJob(Radio& radio, Document& doc,
                                                    const TransferRequest& request) {
    std::unique_ptr<LinkPort> port = context_.makePort ? context_.makePort(radio.port) : nullptr;
    auto job = std::make_unique<RadioJob>(doc, request, radio.port, std::move(port));
    // Nobody is asked anything: a radio of the other model is not written, one that
    // stops answering is given up; the others go on meanwhile.
    job->setAnswerer([](LinkQuestion, const QString&) { return false; });
    job->setCablePower(context_.power);
    job->setFinishDelay(0);
    // A pause at one radio's end must not hold the others up.
    job->setPauseRunsEvents(true);
    return job;
}

void SeveralRadiosRun::startRadio(int index) {
    if (options_.readSerialNumber) {
        Radio& radio = *radios_[index];
        radio.job = makeJob(radio, radio.record, TransferRequest::read(TransferArea::Local));
        rows_[index].step = RadioStep::SerialNumber;
        RadioJob* job = radio.job.get();
        connect(job, &RadioJob::phaseChanged, this, [this, index](TransferPhase phase) {
            rows_[index].phase = phase;
            emit rowChanged(index);
        });
        connect(job, &RadioJob::progressChanged, this, [this, index](double f, const QString&) {
            rows_[index].fraction = f;
            emit rowChanged(index);
        });
        // The exchange is still on the stack when it says it finished.
        connect(
            job, &RadioJob::finished, this, [this, index] { serialDone(index); },
            Qt::QueuedConnection);
        job->start();
        return;
    }
    startWrite(index);
}

void SeveralRadiosRun::serialDone(int index) {
    Radio& radio = *radios_[index];
    const TransferReport report = radio.job->report();
    radio.spent.push_back(std::move(radio.job));
    if (radio.cancelled) {
        endRadio(index, JobOutcome::Cancelled, QString());
        return;
    }
    // A port that will not open, or a radio that never answered, takes no write
    // either; one that answered but could not give its record is written without it.
    if (!RadioAnswered(report)) {
        radio.job.reset();
        rows_[index].entry = JobLogEntryOf(report, radio.port);
        endRadio(index, JobOutcomeOf(report), QString());
        return;
    }
    if (report.moved()) {
        radio.serialNumber =
            QString::fromLatin1(RecordedSerialNumber(radio.record.serviceMemory).c_str());
        radio.band = QString::fromStdString(RecordedFrequencyArea(radio.record.serviceMemory));
    }
    startWrite(index);
}

void SeveralRadiosRun::startWrite(int index) {
    Radio& radio = *radios_[index];
    radio.job =
        makeJob(radio, radio.doc, TransferRequest::write(TransferArea::Data, options_.verify));
    RadioRow& row = rows_[index];
    row.step = RadioStep::Writing;
    row.fraction = 0.0;
    RadioJob* job = radio.job.get();
    connect(job, &RadioJob::phaseChanged, this, [this, index](TransferPhase phase) {
        rows_[index].phase = phase;
        // The read-back's progress starts again from nothing.
        if (phase == TransferPhase::Verifying) rows_[index].fraction = 0.0;
        emit rowChanged(index);
    });
    connect(job, &RadioJob::progressChanged, this, [this, index](double f, const QString&) {
        rows_[index].fraction = f;
        emit rowChanged(index);
    });
    connect(
        job, &RadioJob::finished, this, [this, index] { writeDone(index); }, Qt::QueuedConnection);
    job->start();
}

void SeveralRadiosRun::writeDone(int index) {
    Radio& radio = *radios_[index];
    const TransferReport& report = radio.job->report();
    RadioRow& row = rows_[index];
    row.entry = JobLogEntryOf(report, radio.port);
    JobOutcome outcome = JobOutcomeOf(report);
    // A write stopped by Cancel ends as cancelled, however far it came.
    if (radio.cancelled && !report.moved()) outcome = JobOutcome::Cancelled;
    QString differences;
    if (report.differs()) {
        const std::vector<Difference> found =
            VerifyDifferences(radio.doc, *report.verify, doc_->IsEnglish);
        QStringList named;
        for (const Difference& d : found) {
            if (named.size() < kDifferencesNamed)
                named << DifferencePlace(d, doc_->IsEnglish) + QLatin1Char(' ') +
                             DifferenceCaption(d, doc_->IsEnglish) + QLatin1Char(' ') +
                             DifferenceValue(d.a, doc_->IsEnglish) + QStringLiteral(" → ") +
                             DifferenceValue(d.b, doc_->IsEnglish);
        }
        if (found.size() > kDifferencesNamed)
            named << uiText(several_texts::kMoreDifferences, doc_->IsEnglish)
                         .arg(found.size() - kDifferencesNamed);
        // Bytes no editor shows (a password) are named by their addresses.
        if (!named.isEmpty()) differences = named.join(QStringLiteral("; "));
        row.entry.verify = VerifyLogText(*report.verify, &radio.doc);
    }
    if (differences.isEmpty() && report.differs())
        differences = QString::fromStdString(VerifyReportText(*report.verify, doc_->IsEnglish));
    radio.spent.push_back(std::move(radio.job));
    endRadio(index, outcome, differences);
}

QString SeveralRadiosRun::outcomeText(const Radio& radio, JobOutcome outcome) const {
    const bool en = doc_->IsEnglish;
    using namespace several_texts;
    switch (outcome) {
        case JobOutcome::Written:
            return uiText(options_.verify ? kDoneVerified : kDone, en);
        case JobOutcome::Differs:
            return uiText(kDiffers, en);
        case JobOutcome::Unverified:
            return uiText(kUnverified, en);
        case JobOutcome::NoAnswer:
            return uiText(kNoAnswer, en);
        case JobOutcome::LinkFailed:
            return uiText(kLinkFailed, en);
        case JobOutcome::PortFailed: {
            // The open failure's own words: which device, and who holds it.
            const RadioJob& job = *radio.spent.back();
            const QString device =
                job.port().deviceName().isEmpty() ? radio.port : job.port().deviceName();
            return serialPortDiagnosis(device, job.port().openError(), en, radio.port)
                .section(QLatin1Char('\n'), 0, 0);
        }
        case JobOutcome::WrongModel: {
            const Model ours = ModelOfImage(doc_->radioImage);
            return uiText(kWrongModel, en)
                .arg(QString::fromLatin1(ModelText(ours == Model::VHF ? Model::UHF : Model::VHF)),
                     QString::fromLatin1(ModelText(ours)));
        }
        case JobOutcome::Cancelled:
            break;
    }
    return uiText(kCancelled, en);
}

void SeveralRadiosRun::endRadio(int index, JobOutcome outcome, const QString& differences) {
    Radio& radio = *radios_[index];
    RadioRow& row = rows_[index];
    row.step = RadioStep::Ended;
    row.phase = TransferPhase::Ended;
    row.outcome = outcome;
    row.said = outcomeText(radio, outcome);
    if (outcome == JobOutcome::Differs) row.said = row.said.arg(differences);
    JobLogEntry& e = row.entry;
    if (e.port.isEmpty()) e = JobLogEntryOf(TransferReport{}, radio.port);
    e.outcome = outcome;
    e.serialNumber = radio.serialNumber;
    e.band = radio.band;
    e.dataFile = context_.dataFile;
    e.backup = backup_;
    if (!context_.jobLogFolder.isEmpty()) {
        const QString path = JobLogPath(context_.jobLogFolder, e.when.date());
        QString why;
        row.logged = AppendJobLog(path, e, &why);
        if (!row.logged) {
            error_ = uiText(kJobLogFailed, doc_->IsEnglish).arg(path, why);
            emit logFailed(error_);
        }
    }
    emit rowChanged(index);
    if (!running()) emit finished();
}

void SeveralRadiosRun::cancel() {
    if (cancelling_) return;
    cancelling_ = true;
    for (int i = 0; i < static_cast<int>(radios_.size()); ++i) {
        Radio& radio = *radios_[i];
        if (rows_[i].ended()) continue;
        radio.cancelled = true;
        if (radio.job) radio.job->cancel();
    }
    cancelling_ = false;
}

QString SeveralRadiosRun::stepText(const RadioRow& row, bool en) {
    using namespace several_texts;
    switch (row.step) {
        case RadioStep::Waiting:
            return uiText(kWaiting, en);
        case RadioStep::SerialNumber:
            return uiText(row.phase == TransferPhase::Connecting ? kConnecting : kSerial, en);
        case RadioStep::Writing:
            if (row.phase == TransferPhase::Connecting || row.phase == TransferPhase::Waiting)
                return uiText(kConnecting, en);
            return uiText(
                row.phase == TransferPhase::Verifying || row.phase == TransferPhase::Written
                    ? kVerifying
                    : kWriting,
                en);
        case RadioStep::Ended:
            break;
    }
    return uiText(kEnded, en);
}

}  // namespace baldo7
