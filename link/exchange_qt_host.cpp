#include "link/exchange_qt_host.h"

#include <QEventLoop>
#include <QThread>

namespace baldo7 {

QtExchangeHost::QtExchangeHost(Document& doc, const TransferRequest& request,
                               const QString& portSetting, QObject* parent)
    : QtExchangeHost(doc, request, std::make_unique<SerialPort>(), portSetting, parent) {}

QtExchangeHost::QtExchangeHost(Document& doc, const TransferRequest& request,
                               std::unique_ptr<LinkPort> port, const QString& portSetting,
                               QObject* parent)
    : QObject(parent), doc_(doc), portSetting_(portSetting), port_(std::move(port)) {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (pausing_) return;
        if (observer_ && engine_->tickIsTimeout())
            observer_->timedOut(engine_->state().LinkState, timerMs_);
        engine_->onTimer();
    });
    connect(port_.get(), &LinkPort::received, this, [this](const QByteArray& bytes) {
        if (observer_) observer_->bytesReceived(bytes);
        if (pausing_) return;
        engine_->onBytesReceived(Bytes(bytes.begin(), bytes.end()));
    });
    engine_ = std::make_unique<Exchange>(doc_, static_cast<ExchangeHost&>(*this), request);
}

QtExchangeHost::~QtExchangeHost() {
    timer_.stop();
    if (port_) port_->close();
}

std::unique_ptr<QtExchangeHost> QtExchangeHost::readBackHost(Document& doc, QObject* parent) {
    const WrittenBlocks written = engine_->written();
    port_->disconnect(this);
    port_->close();
    const TransferRange range = ReadBackRange(written);
    TransferRequest request = TransferRequest::read(engine_->request().area);
    request.range = range;
    auto host =
        std::make_unique<QtExchangeHost>(doc, request, std::move(port_), portSetting_, parent);
    host->verifying_ = written;
    host->setCablePower(power_);
    host->setObserver(observer_);
    host->setAnswerer(answerer_);
    host->setPauseRunsEvents(pauseRunsEvents_);
    host->setFinishDelay(engine_->finishDelay());
    if (observer_)
        observer_->verifyStep(
            QString::asprintf("reading back 0x%04X-0x%04X", range.first, range.end - 1));
    return host;
}

void QtExchangeHost::start() {
    engine_->start();
}

void QtExchangeHost::cancel() {
    engine_->cancel();
}

bool QtExchangeHost::openPort() {
    const bool ok = port_->open(portSetting_);
    if (observer_) {
        QString detail;
        if (!ok) {
            detail = serialPortDiagnosis(port_->deviceName(), port_->openError(), true);
        } else {
            detail = QStringLiteral("9600,N,8,1");
            const QString power = cablePowerText(power_);
            const auto* serial = qobject_cast<const SerialPort*>(port_.get());
            if (!power.isEmpty())
                detail += QStringLiteral(", %1 asserted%2")
                              .arg(power, !serial || serial->cablePowerApplied()
                                              ? QString()
                                              : QStringLiteral(" (the device has no such line)"));
        }
        observer_->portOpened(port_->deviceName(), ok, detail);
    }
    return ok;
}

void QtExchangeHost::closePort() {
    if (observer_ && port_->isOpen()) observer_->portClosed();
    port_->close();
}

void QtExchangeHost::send(const Bytes& bytes) {
    const QByteArray out(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<qsizetype>(bytes.size()));
    if (observer_) observer_->bytesSent(out);
    // A failed write shows up as a missing answer: the engine's timeout handles it.
    port_->send(out);
}

void QtExchangeHost::discardInput() {
    // Every start of the handshake drops what waits; all but the first are restarts.
    if (observer_ && ++handshakes_ > 1) observer_->restarted(handshakes_);
    if (!observer_) {
        port_->discardInput();
        return;
    }
    const QByteArray dropped = port_->readAll();
    port_->discardInput();
    if (!dropped.isEmpty()) observer_->bytesDropped(dropped);
}

void QtExchangeHost::setReceiveThreshold(int count) {
    port_->setReceiveThreshold(count);
}

void QtExchangeHost::startTimer(int ms) {
    timerMs_ = ms;
    timer_.start(ms);
}

void QtExchangeHost::stopTimer() {
    timer_.stop();
}

void QtExchangeHost::pause(int ms) {
    if (!pauseRunsEvents_) {
        QThread::msleep(static_cast<unsigned long>(ms));
        return;
    }
    pausing_ = true;
    QEventLoop wait;
    QTimer::singleShot(ms, Qt::PreciseTimer, &wait, &QEventLoop::quit);
    wait.exec();
    pausing_ = false;
}

bool QtExchangeHost::ask(LinkQuestion question, const std::string& text) {
    const QString q = QString::fromStdString(text);
    const bool yes = answerer_ ? answerer_(question, q) : false;
    if (observer_) observer_->asked(question, q, yes);
    return yes;
}

void QtExchangeHost::portFailed(const std::string&) {
    emit portOpenFailed(port_->openFailureText(doc_.IsEnglish));
}

void QtExchangeHost::setCaption(const std::string& caption) {
    emit captionChanged(QString::fromStdString(caption));
}

void QtExchangeHost::noAnswer() {
    emit radioSilent();
}

void QtExchangeHost::progress(double fraction, const std::string& label) {
    if (observer_) observer_->progressed(QString::fromStdString(label));
    emit progressChanged(fraction, QString::fromStdString(label));
}

void QtExchangeHost::finished(const ExchangeResult& result) {
    if (observer_) observer_->ended(result);
    result_ = result;
    if (verifying_) {
        if (result.outcome == ExchangeOutcome::Done)
            verifyResult_ = CompareReadBack(*verifying_, engine_->received());
        if (observer_)
            observer_->verifyStep(
                verifyResult_ ? QString::fromStdString(VerifyReportText(*verifyResult_, true))
                              : QStringLiteral("not verified: the read-back "
                                               "did not complete"));
    }
    timer_.stop();
    emit exchangeFinished();
}

}  // namespace baldo7
