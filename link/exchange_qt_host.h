// Runs one programming exchange over a port inside a Qt event loop: the
// port's threshold notifications and a single-shot QTimer drive the engine. The
// transfer window and the command line both use it; questions go to an answerer
// the owner supplies.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "core/document.h"
#include "link/exchange.h"
#include "link/serial_port.h"
#include "link/serial_trace.h"

namespace baldo7 {

class QtExchangeHost : public QObject, private ExchangeHost {
    Q_OBJECT
public:
    // The window's load: the engine is made here, for `request`. `portSetting` is a
    // number, "COMn", a device name or path (link/serial_port.h).
    QtExchangeHost(Document& doc, const TransferRequest& request, const QString& portSetting,
                   QObject* parent = nullptr);
    // The same over a port the caller supplies (the built-in simulated radio's).
    QtExchangeHost(Document& doc, const TransferRequest& request, std::unique_ptr<LinkPort> port,
                   const QString& portSetting, QObject* parent = nullptr);
    ~QtExchangeHost() override;

    // Answers a question: true for Retry / OK. Without one every question is
    // answered Cancel. It may open a modal box; the engine ignores the line meanwhile.
    using Answerer = std::function<bool(LinkQuestion, const QString& text)>;
    void setAnswerer(Answerer answerer) { answerer_ = std::move(answerer); }

    // The window's Read or Write button (by the request) and its Cancel button.
    void start();
    void cancel();
    void setFinishDelay(int ms) { engine_->setFinishDelay(ms); }
    // Lines the cable draws its power from, asserted whenever the port opens.
    void setCablePower(CablePower power) {
        power_ = power;
        port_->setCablePower(power);
    }
    // Who sees every step on the line (the serial trace); nullptr for none. It must
    // outlive the exchange.
    void setObserver(ExchangeObserver* observer) { observer_ = observer; }
    // The end pause keeps the event loop running instead of stopping the program,
    // so exchanges on other ports go on meanwhile; this one takes nothing up.
    void setPauseRunsEvents(bool on) { pauseRunsEvents_ = on; }

    bool isFinished() const { return engine_->finished(); }
    const ExchangeResult& result() const { return result_; }
    const Exchange& engine() const { return *engine_; }
    // The device the setting named and, after a failed open, why it failed.
    const LinkPort& port() const { return *port_; }

    // A verified write's read-back once this write is over: a new host reading the
    // blocks written into `doc` over the same line (port, cable power, observer,
    // answers, pause). This host keeps no port afterwards.
    std::unique_ptr<QtExchangeHost> readBackHost(Document& doc, QObject* parent = nullptr);
    // On a read-back host once it has finished: the written blocks compared with
    // the ones the radio returned for their addresses; nothing when the read-back
    // did not complete. The observer has been told either way.
    const std::optional<VerifyResult>& verifyResult() const { return verifyResult_; }

signals:
    void captionChanged(const QString& caption);
    void progressChanged(double fraction, const QString& label);
    // A handshake step went unanswered; the engine tries again without asking.
    void radioSilent();
    // The port did not open; the text says so, and why where that helps.
    void portOpenFailed(const QString& text);
    // The exchange is over; see result(). Delete the host with deleteLater().
    void exchangeFinished();

private:
    bool openPort() override;
    void closePort() override;
    void send(const Bytes& bytes) override;
    std::int64_t clockNs() override { return clock_.nsecsElapsed(); }
    void discardInput() override;
    void setReceiveThreshold(int count) override;
    void startTimer(int ms) override;
    void stopTimer() override;
    void pause(int ms) override;
    bool ask(LinkQuestion question, const std::string& text) override;
    void portFailed(const std::string& text) override;
    void setCaption(const std::string& caption) override;
    void noAnswer() override;
    void progress(double fraction, const std::string& label) override;
    void finished(const ExchangeResult& result) override;

    Document& doc_;
    QString portSetting_;
    std::unique_ptr<LinkPort> port_;
    QTimer timer_;
    Answerer answerer_;
    ExchangeResult result_;
    ExchangeObserver* observer_ = nullptr;
    CablePower power_;
    bool pauseRunsEvents_ = false;
    bool pausing_ = false;
    int timerMs_ = 0;
    int handshakes_ = 0;
    QElapsedTimer clock_;
    // Set on a read-back host: what the write sent.
    std::optional<WrittenBlocks> verifying_;
    std::optional<VerifyResult> verifyResult_;
    std::unique_ptr<Exchange> engine_;
};

}  // namespace baldo7
