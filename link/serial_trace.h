// The serial trace: everything one exchange does on the line, as plain text a user
// can read and send to support (docs/trace.md). It watches a QtExchangeHost; it
// never takes part in the exchange.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <vector>

#include "core/secrets.h"
#include "link/exchange.h"

namespace baldo7 {

// What a QtExchangeHost reports to whoever watches it, in the order it happens.
class ExchangeObserver {
public:
    virtual ~ExchangeObserver() = default;
    virtual void portOpened(const QString& device, bool ok, const QString& detail) = 0;
    virtual void portClosed() = 0;
    virtual void bytesSent(const QByteArray& bytes) = 0;
    virtual void bytesReceived(const QByteArray& bytes) = 0;
    // Bytes a restart dropped unread (late answers to an earlier step).
    virtual void bytesDropped(const QByteArray& bytes) = 0;
    virtual void timedOut(int linkState, int ms) = 0;
    virtual void restarted(int attempt) = 0;
    virtual void asked(LinkQuestion question, const QString& text, bool yes) = 0;
    virtual void progressed(const QString& label) = 0;
    virtual void ended(const ExchangeResult& result) = 0;
    // A verified write's read-back: where it starts, then what the comparison found.
    virtual void verifyStep(const QString& detail) = 0;
};

// What a frame on the line is, for the trace: "identification", "read request
// 0x0010", "data block 0x02F0", "ACK"; empty when it is none of them.
QString describeFrame(const QByteArray& bytes, bool sent);

// Which bytes of one direction of the line are secret: the data bytes of every data
// block header ("W", address, 0x10) that fall on a secret address, however the
// frames are split over reads. Every position is looked at as a possible header, so
// bytes lost on the line can make it mask more, never less.
class LineMasker {
public:
    // One entry per byte of `chunk`: the secret it carries, or nullptr.
    std::vector<const SecretRange*> scan(const QByteArray& chunk);

private:
    QByteArray tail_;                              // the last bytes, for a split header
    std::vector<std::pair<qint64, int>> pending_;  // (stream position, address) to mask
    qint64 position_ = 0;                          // of the next byte
};

// "48 58 4C" and the printable characters of the bytes; masked bytes show as "**"
// and "*".
QString hexBytes(const QByteArray& bytes, const std::vector<const SecretRange*>& masked = {});

// A trace's text with the bytes lines masked as a trace of this version masks them,
// whatever wrote it (traces of older versions hold secrets in clear). Lines that
// are not bytes lines, and bytes already masked, stay as they are.
QString MaskTraceText(const QString& text);

class SerialTrace : public ExchangeObserver {
public:
    // Opens `path` for writing (replacing it), readable by the user only, and writes
    // the heading. `what` says which exchange ("read", "write", "write, range tune").
    SerialTrace(const QString& path, const QString& program, const QString& portSetting,
                const QString& what);
    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }
    QString errorString() const { return file_.errorString(); }

    void portOpened(const QString& device, bool ok, const QString& detail) override;
    void portClosed() override;
    void bytesSent(const QByteArray& bytes) override;
    void bytesReceived(const QByteArray& bytes) override;
    void bytesDropped(const QByteArray& bytes) override;
    void timedOut(int linkState, int ms) override;
    void restarted(int attempt) override;
    void asked(LinkQuestion question, const QString& text, bool yes) override;
    void progressed(const QString& label) override;
    void ended(const ExchangeResult& result) override;
    void verifyStep(const QString& detail) override { line("verify", detail); }

    // One line of the trace, timestamped; written at once so a crash keeps it.
    void line(const char* event, const QString& detail);

private:
    void bytesLine(const char* event, const QByteArray& bytes, bool sent);

    LineMasker sentMask_, receivedMask_;
    QFile file_;
    QElapsedTimer clock_;
};

}  // namespace baldo7
