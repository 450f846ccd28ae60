#include "transfer/radio_job.h"

#include <QTimer>

namespace baldo7 {

const char* TransferPhaseName(TransferPhase phase) {
    switch (phase) {
        case TransferPhase::Waiting:
            return "waiting";
        case TransferPhase::Connecting:
            return "connecting";
        case TransferPhase::Reading:
            return "reading";
        case TransferPhase::Writing:
            return "writing";
        case TransferPhase::Written:
            return "written";
        case TransferPhase::Verifying:
            return "verifying";
        case TransferPhase::Ended:
            break;
    }
    return "ended";
}

TransferPhase TransferReport::endedIn() const {
    for (auto it = phases.rbegin(); it != phases.rend(); ++it)
        if (it->phase != TransferPhase::Ended) return it->phase;
    return TransferPhase::Waiting;
}

QString TransferReport::radioModel() const {
    const Bytes& id = exchange.identification;
    if (id.size() < 2) return {};
    return id[1] == wire::kVhfDigit ? QStringLiteral("VHF") : QStringLiteral("UHF");
}

RadioJob::RadioJob(Document& doc, const TransferRequest& request, const QString& portSetting,
                   std::unique_ptr<LinkPort> port, QObject* parent)
    : QObject(parent),
      doc_(doc),
      portSetting_(portSetting),
      host_(port ? std::make_unique<QtExchangeHost>(doc, request, std::move(port), portSetting)
                 : std::make_unique<QtExchangeHost>(doc, request, portSetting)) {
    report_.request = request;
    report_.exchange.request = request;
    connectHost(*host_, true);
}

RadioJob::~RadioJob() = default;

void RadioJob::setAnswerer(QtExchangeHost::Answerer answerer) {
    host_->setAnswerer(std::move(answerer));
}
void RadioJob::setCablePower(CablePower power) {
    host_->setCablePower(power);
}
void RadioJob::setObserver(ExchangeObserver* observer) {
    host_->setObserver(observer);
}
void RadioJob::setPauseRunsEvents(bool on) {
    host_->setPauseRunsEvents(on);
}
void RadioJob::setFinishDelay(int ms) {
    host_->setFinishDelay(ms);
}

const LinkPort& RadioJob::port() const {
    return readBack_ ? readBack_->port() : host_->port();
}

void RadioJob::connectHost(QtExchangeHost& host, bool main) {
    connect(
        &host, &QtExchangeHost::progressChanged, this,
        [this, main](double fraction, const QString& label) {
            // The block phase begins with its first progress.
            if (main && phase_ == TransferPhase::Connecting)
                enter(report_.request.reading() ? TransferPhase::Reading : TransferPhase::Writing);
            emit progressChanged(fraction, label);
        });
    if (main) connect(&host, &QtExchangeHost::captionChanged, this, &RadioJob::captionChanged);
    connect(&host, &QtExchangeHost::radioSilent, this, &RadioJob::radioSilent);
    connect(&host, &QtExchangeHost::portOpenFailed, this, &RadioJob::portOpenFailed);
    connect(&host, &QtExchangeHost::exchangeFinished, this,
            main ? &RadioJob::exchangeFinished : &RadioJob::readBackFinished);
}

void RadioJob::start() {
    if (phase_ != TransferPhase::Waiting) return;
    clock_.start();
    enter(TransferPhase::Connecting);
    host_->start();
}

void RadioJob::cancel() {
    if (readBack_ && !readBack_->isFinished())
        readBack_->cancel();
    else if (!host_->isFinished() && phase_ != TransferPhase::Waiting)
        host_->cancel();
    else if (phase_ != TransferPhase::Ended)
        end();
}

void RadioJob::exchangeFinished() {
    report_.exchange = host_->result();
    report_.exchangeMs = clock_.elapsed();
    const bool readBackDue = report_.moved() && !report_.request.reading() &&
                             report_.request.verify && !report_.exchange.written.empty();
    if (!readBackDue) {
        end();
        return;
    }
    enter(TransferPhase::Written);
    // The write's engine is still on the stack; the read-back starts on the next pass.
    if (!verifyLater_)
        QTimer::singleShot(0, this, [this] {
            if (phase_ == TransferPhase::Written) startVerify();
        });
}

bool RadioJob::startVerify() {
    if (phase_ != TransferPhase::Written) return false;
    readBackDoc_ = std::make_unique<Document>(doc_);
    readBack_ = host_->readBackHost(*readBackDoc_);
    connectHost(*readBack_, false);
    enter(TransferPhase::Verifying);
    readBack_->start();
    return true;
}

void RadioJob::readBackFinished() {
    report_.readBack = readBack_->result();
    report_.verify = readBack_->verifyResult();
    end();
}

void RadioJob::enter(TransferPhase phase) {
    phase_ = phase;
    report_.phases.push_back({phase, clock_.isValid() ? clock_.elapsed() : 0});
    emit phaseChanged(phase);
}

void RadioJob::end() {
    enter(TransferPhase::Ended);
    emit finished();
}

}  // namespace baldo7
