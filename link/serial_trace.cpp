#include "link/serial_trace.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#include "link/transfer_ranges.h"

namespace baldo7 {

namespace {

QString address(const QByteArray& b) {
    const int a = static_cast<std::uint8_t>(b[1]) * 256 + static_cast<std::uint8_t>(b[2]);
    return QStringLiteral("0x%1")
        .arg(a, 4, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QStringLiteral("0X"), QStringLiteral("0x"));
}

const char* stateText(int linkState) {
    switch (linkState) {
        case 1:
            return "identification sent, ACK awaited";
        case 2:
            return "0x02 sent, identification reply awaited";
        case 3:
            return "ACK awaited";
        case 4:
            return "data block awaited";
        default:
            return "idle";
    }
}

const char* outcomeText(ExchangeOutcome o) {
    switch (o) {
        case ExchangeOutcome::Done:
            return "done";
        case ExchangeOutcome::PortFailed:
            return "port failed";
        case ExchangeOutcome::Cancelled:
            return "cancelled at the retry question";
        case ExchangeOutcome::BandDeclined:
            return "band question declined";
        case ExchangeOutcome::Aborted:
            return "aborted (Cancel button)";
    }
    return "";
}

}  // namespace

std::vector<const SecretRange*> LineMasker::scan(const QByteArray& chunk) {
    std::vector<const SecretRange*> out(std::size_t(chunk.size()), nullptr);
    for (qsizetype i = 0; i < chunk.size(); ++i, ++position_) {
        for (const auto& [at, address] : pending_)
            if (at == position_) out[std::size_t(i)] = SecretAt(address);
        tail_.append(chunk[i]);
        if (tail_.size() > 4) tail_.remove(0, 1);
        if (tail_.size() == 4 && static_cast<std::uint8_t>(tail_[0]) == wire::kDataBlock &&
            static_cast<std::uint8_t>(tail_[3]) == wire::kBlockLength) {
            const int block =
                static_cast<std::uint8_t>(tail_[1]) * 256 + static_cast<std::uint8_t>(tail_[2]);
            for (int k = 0; k < kBlockSize; ++k)
                if (SecretAt(block + k)) pending_.emplace_back(position_ + 1 + k, block + k);
        }
        pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                      [this](const auto& p) { return p.first <= position_; }),
                       pending_.end());
    }
    return out;
}

QString hexBytes(const QByteArray& bytes, const std::vector<const SecretRange*>& masked) {
    QString hex;
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (!hex.isEmpty()) hex += QLatin1Char(' ');
        if (std::size_t(i) < masked.size() && masked[std::size_t(i)]) {
            hex += QStringLiteral("**");
            text += QLatin1Char('*');
            continue;
        }
        hex += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
        text += b >= 0x20 && b < 0x7F ? QChar(b) : QChar('.');
    }
    return hex + QStringLiteral("  |") + text + QLatin1Char('|');
}

namespace {

// Bytes shown "**" in a trace that is read again.
constexpr SecretRange kAlreadyMasked{0, 0, ""};

// "  [masked: stun code, die code]" for the secrets newly masked; "" for none.
QString maskedNote(const std::vector<const SecretRange*>& masked) {
    QStringList secrets;
    for (const SecretRange* s : masked)
        if (s && s != &kAlreadyMasked && !secrets.contains(QLatin1String(s->what)))
            secrets << QLatin1String(s->what);
    if (secrets.isEmpty()) return {};
    return QStringLiteral("  [masked: ") + secrets.join(QStringLiteral(", ")) + QLatin1Char(']');
}

}  // namespace

QString MaskTraceText(const QString& text) {
    static const QRegularExpression bytesLine(
        QStringLiteral("^(\\d\\d:\\d\\d:\\d\\d\\.\\d{3} +\\d+  (send|recv|drop) +)"
                       "((?:[0-9A-F]{2}|\\*\\*)(?: (?:[0-9A-F]{2}|\\*\\*))*)  \\|"));
    LineMasker sent, received;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        const QRegularExpressionMatch m = bytesLine.match(line);
        if (!m.hasMatch()) continue;
        QByteArray bytes;
        std::vector<bool> before;
        for (const QString& token : m.captured(3).split(QLatin1Char(' '))) {
            before.push_back(token == QLatin1String("**"));
            bytes.append(before.back() ? char(kMaskedByte) : char(token.toUInt(nullptr, 16)));
        }
        // One character of the text column per byte, then the closing bar.
        const qsizetype bar = m.capturedEnd(0) + bytes.size();
        if (bar >= line.size() || line[bar] != QLatin1Char('|')) continue;
        std::vector<const SecretRange*> masked =
            (m.captured(2) == QLatin1String("send") ? sent : received).scan(bytes);
        for (std::size_t i = 0; i < before.size(); ++i)
            if (before[i]) masked[i] = &kAlreadyMasked;
        QString rest = line.mid(bar + 1);
        if (!rest.contains(QLatin1String("[masked"))) rest += maskedNote(masked);
        line = m.captured(1) + hexBytes(bytes, masked) + rest;
    }
    return lines.join(QLatin1Char('\n'));
}

QString describeFrame(const QByteArray& b, bool sent) {
    if (b == QByteArray(wire::kIdentification)) return QStringLiteral("identification");
    if (b.size() == 1) {
        switch (static_cast<std::uint8_t>(b[0])) {
            case wire::kAck:
                return QStringLiteral("ACK");
            case wire::kStart:
                return sent ? QStringLiteral("identification reply asked") : QString();
            case wire::kEnd:
                return sent ? QStringLiteral("end") : QString();
            case 0x15:
                return QStringLiteral("NAK");
            default:
                return {};
        }
    }
    if (b.size() == 4 && static_cast<std::uint8_t>(b[0]) == wire::kReadRequest)
        return QStringLiteral("read request ") + address(b);
    if (b.size() == kDataFrameSize && static_cast<std::uint8_t>(b[0]) == wire::kDataBlock)
        return QStringLiteral("data block ") + address(b);
    if (!sent && b.size() == static_cast<int>(wire::kIdentificationReplySize))
        return QStringLiteral("identification reply?");
    return {};
}

SerialTrace::SerialTrace(const QString& path, const QString& program, const QString& portSetting,
                         const QString& what)
    : file_(path) {
    clock_.start();
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return;
    // Before anything is written: the masking aside, a trace is the user's business.
    file_.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    file_.write(QStringLiteral("BALDO-7 serial trace\n"
                               "program:  %1\n"
                               "started:  %2 UTC\n"
                               "exchange: %3\n"
                               "port:     %4\n\n"
                               "time (UTC)    ms since start  event     detail\n")
                    .arg(program, now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")), what,
                         portSetting)
                    .toUtf8());
    file_.flush();
}

void SerialTrace::line(const char* event, const QString& detail) {
    if (!file_.isOpen()) return;
    const QString time = QDateTime::currentDateTimeUtc().toString(QStringLiteral("HH:mm:ss.zzz"));
    file_.write(QStringLiteral("%1  %2  %3 %4\n")
                    .arg(time)
                    .arg(clock_.elapsed(), 14)
                    .arg(QLatin1String(event), -9)
                    .arg(detail)
                    .toUtf8());
    file_.flush();
}

void SerialTrace::bytesLine(const char* event, const QByteArray& bytes, bool sent) {
    const std::vector<const SecretRange*> masked = (sent ? sentMask_ : receivedMask_).scan(bytes);
    QString detail = hexBytes(bytes, masked);
    const QString what = describeFrame(bytes, sent);
    if (!what.isEmpty()) detail += QStringLiteral("  ") + what;
    line(event, detail + maskedNote(masked));
}

void SerialTrace::portOpened(const QString& device, bool ok, const QString& detail) {
    line(ok ? "open" : "open-fail", device + QStringLiteral(": ") + detail);
}

void SerialTrace::portClosed() {
    line("close", {});
}

void SerialTrace::bytesSent(const QByteArray& bytes) {
    bytesLine("send", bytes, true);
}

void SerialTrace::bytesReceived(const QByteArray& bytes) {
    bytesLine("recv", bytes, false);
}

void SerialTrace::bytesDropped(const QByteArray& bytes) {
    bytesLine("drop", bytes, false);
}

void SerialTrace::timedOut(int linkState, int ms) {
    line("timeout", QStringLiteral("no answer within %1 ms (state %2: %3)")
                        .arg(ms)
                        .arg(linkState)
                        .arg(QLatin1String(stateText(linkState))));
}

void SerialTrace::restarted(int attempt) {
    line("restart", QStringLiteral("handshake again, attempt %1").arg(attempt));
}

void SerialTrace::asked(LinkQuestion question, const QString& text, bool yes) {
    line("question", text);
    const bool retry = question == LinkQuestion::Retry;
    line("answer",
         yes ? (retry ? QStringLiteral("Retry") : QStringLiteral("OK")) : QStringLiteral("Cancel"));
}

void SerialTrace::progressed(const QString& label) {
    line("progress", label);
}

void SerialTrace::ended(const ExchangeResult& result) {
    QString detail = QLatin1String(outcomeText(result.outcome));
    if (!result.text.empty()) detail += QStringLiteral(": ") + QString::fromStdString(result.text);
    line("end", detail);
}

}  // namespace baldo7
