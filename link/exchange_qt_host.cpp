#include "link/exchange_qt_host.h"

#include <QThread>

namespace baldo7 {

QtExchangeHost::QtExchangeHost(Document& doc, const QString& portSetting, QObject* parent)
    : QtExchangeHost(doc, std::make_unique<SerialPort>(), portSetting, parent) {}

QtExchangeHost::QtExchangeHost(Document& doc, std::unique_ptr<LinkPort> port,
                               const QString& portSetting, QObject* parent)
    : QObject(parent), doc_(doc), portSetting_(portSetting), port_(std::move(port)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { engine_->onTimer(); });
    connect(port_.get(), &LinkPort::received, this, [this](const QByteArray& bytes) {
        engine_->onBytesReceived(Bytes(bytes.begin(), bytes.end()));
    });
    engine_ = std::make_unique<Exchange>(doc_, static_cast<ExchangeHost&>(*this));
}

QtExchangeHost::~QtExchangeHost() {
    timer_.stop();
    port_->close();
}

void QtExchangeHost::start() {
    engine_->start();
}

void QtExchangeHost::cancel() {
    engine_->cancel();
}

bool QtExchangeHost::openPort() {
    return port_->open(portSetting_);
}

void QtExchangeHost::closePort() {
    port_->close();
}

void QtExchangeHost::send(const Bytes& bytes) {
    // A failed write shows up as a missing answer: the engine's timeout handles it.
    port_->send(bytes);
}

void QtExchangeHost::discardInput() {
    port_->discardInput();
}

void QtExchangeHost::setReceiveThreshold(int count) {
    port_->setReceiveThreshold(count);
}

void QtExchangeHost::startTimer(int ms) {
    timer_.start(ms);
}

void QtExchangeHost::stopTimer() {
    timer_.stop();
}

void QtExchangeHost::pause(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

bool QtExchangeHost::ask(LinkQuestion question, const std::string& text) {
    return answerer_ ? answerer_(question, QString::fromStdString(text)) : false;
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
    emit progressChanged(fraction, QString::fromStdString(label));
}

void QtExchangeHost::finished(const ExchangeResult& result) {
    result_ = result;
    timer_.stop();
    emit exchangeFinished();
}

}  // namespace baldo7
