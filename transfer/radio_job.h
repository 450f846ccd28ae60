// One radio's transfer: the exchange a request asks for and, for a write asked to
// verify, the read-back of the blocks it sent, compared with them. The transfer
// window, baldo7ctl read / write and the write to several radios each run a radio
// as a job; a job says which phase it is in and ends with a report, a value the
// caller keeps, shows or logs.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "core/document.h"
#include "link/exchange_qt_host.h"
#include "link/transfer_request.h"
#include "link/write_verify.h"

namespace baldo7 {

enum class TransferPhase {
    Waiting,     // made, not started
    Connecting,  // the port and the handshake
    Reading,     // the blocks of a read
    Writing,     // the blocks of a write
    Written,     // a write completed; its read-back waits for startVerify()
    Verifying,   // the read-back of a write, handshake included
    Ended,
};

// "connecting", "writing"...: for logs and traces.
const char* TransferPhaseName(TransferPhase phase);

struct PhaseEntry {
    TransferPhase phase;
    qint64 atMs;  // after start()
};

struct TransferReport {
    TransferRequest request;
    // The read or the write.
    ExchangeResult exchange;
    // A verified write's read-back once it ran; the comparison once it completed.
    std::optional<ExchangeResult> readBack;
    std::optional<VerifyResult> verify;
    // Every phase the job went through, in order.
    std::vector<PhaseEntry> phases;
    // The read or the write from start() to its end, the read-back aside.
    qint64 exchangeMs = 0;

    // The range moved: a read's bytes are in the document, a write's in the radio.
    bool moved() const { return exchange.ok(); }
    // Moved, read back, and the radio holds other bytes than were sent.
    bool differs() const { return verify && !verify->ok(); }
    // Moved, asked to verify, and the read-back did not complete.
    bool unverified() const { return moved() && readBack && !verify; }
    bool ok() const { return moved() && !differs() && !unverified(); }
    // The phase the job ended in (Waiting when it never started).
    TransferPhase endedIn() const;
    // "VHF" or "UHF" by the radio's identification reply; empty when none came.
    QString radioModel() const;
};

class RadioJob : public QObject {
    Q_OBJECT
public:
    // `doc` takes a read and gives a write; it must outlive the job. Without `port`
    // the serial port the setting names is used.
    RadioJob(Document& doc, const TransferRequest& request, const QString& portSetting,
             std::unique_ptr<LinkPort> port = nullptr, QObject* parent = nullptr);
    ~RadioJob() override;

    // Set up before start(); each holds for the read-back too.
    void setAnswerer(QtExchangeHost::Answerer answerer);
    void setCablePower(CablePower power);
    // Who sees every step on the line (the serial trace); it must outlive the job.
    void setObserver(ExchangeObserver* observer);
    void setPauseRunsEvents(bool on);
    void setFinishDelay(int ms);
    // A completed write waits in Written for startVerify() instead of being read
    // back at once (several radios: every write first).
    void setVerifyLater(bool on) { verifyLater_ = on; }

    void start();
    // Ends what runs at once, sending nothing more (the window's Cancel).
    void cancel();
    // The read-back of a write waiting in Written; false when there is none.
    bool startVerify();

    TransferPhase phase() const { return phase_; }
    bool isFinished() const { return phase_ == TransferPhase::Ended; }
    const TransferReport& report() const { return report_; }
    const QString& portSetting() const { return portSetting_; }
    // The line of the exchange under way, or of the last one (after a failed open,
    // why it failed).
    const LinkPort& port() const;

signals:
    void phaseChanged(TransferPhase phase);
    void progressChanged(double fraction, const QString& label);
    // The read's or write's caption; the read-back keeps the caller's.
    void captionChanged(const QString& caption);
    void radioSilent();
    void portOpenFailed(const QString& text);
    // The job has ended; see report(). Emitted from inside the exchange: delete the
    // job later, not from the slot.
    void finished();

private:
    void connectHost(QtExchangeHost& host, bool main);
    void exchangeFinished();
    void readBackFinished();
    void enter(TransferPhase phase);
    void end();

    Document& doc_;
    QString portSetting_;
    TransferReport report_;
    TransferPhase phase_ = TransferPhase::Waiting;
    bool verifyLater_ = false;
    QElapsedTimer clock_;
    // The read-back reads into a copy: the document keeps what was written.
    std::unique_ptr<Document> readBackDoc_;
    std::unique_ptr<QtExchangeHost> host_;
    std::unique_ptr<QtExchangeHost> readBack_;
};

}  // namespace baldo7
