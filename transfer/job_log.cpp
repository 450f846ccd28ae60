#include "transfer/job_log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <array>
#include <map>

namespace baldo7 {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

std::array<quint32, 256> crcTable() {
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

// Splits one CSV line into cells (quotes doubled inside a quoted cell). The log's
// own cells never hold a line break, so a line is a row.
QStringList splitCsvLine(const QString& line) {
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                cell += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            cells << cell;
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells << cell;
    return cells;
}

}  // namespace

const char* JobOutcomeKey(JobOutcome outcome) {
    switch (outcome) {
        case JobOutcome::Written:
            return "written";
        case JobOutcome::Differs:
            return "verify differs";
        case JobOutcome::Unverified:
            return "not verified";
        case JobOutcome::NoAnswer:
            return "no answer";
        case JobOutcome::LinkFailed:
            return "link failed";
        case JobOutcome::PortFailed:
            return "port failed";
        case JobOutcome::WrongModel:
            return "wrong model";
        case JobOutcome::Cancelled:
            break;
    }
    return "cancelled";
}

JobOutcome JobOutcomeOf(const TransferReport& report) {
    switch (report.exchange.outcome) {
        case ExchangeOutcome::Done:
            if (report.differs()) return JobOutcome::Differs;
            return report.unverified() ? JobOutcome::Unverified : JobOutcome::Written;
        case ExchangeOutcome::PortFailed:
            return JobOutcome::PortFailed;
        case ExchangeOutcome::BandDeclined:
            return JobOutcome::WrongModel;
        case ExchangeOutcome::Cancelled:  // the retry question declined, or the user's
        case ExchangeOutcome::Aborted:
            break;
    }
    return report.exchange.identification.empty() ? JobOutcome::NoAnswer : JobOutcome::LinkFailed;
}

bool RadioAnswered(const TransferReport& report) {
    const JobOutcome outcome = JobOutcomeOf(report);
    return outcome != JobOutcome::PortFailed && outcome != JobOutcome::NoAnswer;
}

JobLogEntry JobLogEntryOf(const TransferReport& report, const QString& port) {
    JobLogEntry e;
    e.when = QDateTime::currentDateTime();
    e.port = port;
    e.outcome = JobOutcomeOf(report);
    e.model = report.radioModel();
    if (report.moved()) e.checksum = WrittenChecksum(report.exchange.written);
    if (!report.request.verify || !report.moved())
        e.verify = QStringLiteral("no");
    else if (report.differs())
        e.verify = QString::fromStdString(VerifyReportText(*report.verify, true));
    else
        e.verify = report.verify ? QStringLiteral("yes") : QStringLiteral("not read back");
    return e;
}

QStringList JobLogHeader() {
    return {QStringLiteral("Date"),          QStringLiteral("Time"),      QStringLiteral("Port"),
            QStringLiteral("Outcome"),       QStringLiteral("Model"),     QStringLiteral("Band"),
            QStringLiteral("Serial Number"), QStringLiteral("Data File"), QStringLiteral("CRC-32"),
            QStringLiteral("Verify"),        QStringLiteral("Backup")};
}

QStringList JobLogCells(const JobLogEntry& e) {
    return {e.when.toString(QStringLiteral("yyyy-MM-dd")),
            e.when.toString(QStringLiteral("HH:mm:ss")),
            e.port,
            QString::fromLatin1(JobOutcomeKey(e.outcome)),
            e.model,
            e.band,
            e.serialNumber,
            e.dataFile,
            e.checksum,
            e.verify,
            QDir::toNativeSeparators(e.backup)};
}

QString JobLogCsvLine(const QStringList& cells) {
    QStringList out;
    for (QString cell : cells) {
        // No line breaks or control characters: one row is one line.
        for (QChar& c : cell)
            if (c.category() == QChar::Other_Control) c = QLatin1Char(' ');
        if (!cell.isEmpty() && QStringLiteral("=+-@").contains(cell.front()))
            cell.prepend(QLatin1Char('\''));
        if (cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"')) ||
            cell.startsWith(QLatin1Char(' ')) || cell.endsWith(QLatin1Char(' ')))
            cell = QLatin1Char('"') + cell.replace(QLatin1String("\""), QLatin1String("\"\"")) +
                   QLatin1Char('"');
        out << cell;
    }
    return out.join(QLatin1Char(','));
}

QString WrittenChecksum(const WrittenBlocks& blocks) {
    static const std::array<quint32, 256> table = crcTable();
    // A block sent twice (after a restart) counts once, as last sent.
    std::map<int, const WrittenBlock*> byAddress;
    for (const WrittenBlock& b : blocks) byAddress[b.address] = &b;
    quint32 crc = 0xFFFFFFFFu;
    for (const auto& [address, block] : byAddress)
        for (std::uint8_t byte : block->data) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return QStringLiteral("%1").arg(crc ^ 0xFFFFFFFFu, 8, 16, QLatin1Char('0')).toUpper();
}

QString JobLogFolder(const QString& backupFolder) {
    const QFileInfo backups(QDir::cleanPath(QDir(backupFolder).absolutePath()));
    return backups.dir().filePath(QStringLiteral("jobs"));
}

QString JobLogPath(const QString& folder, const QDate& day) {
    return QDir(folder).filePath(day.toString(QStringLiteral("yyyy-MM-dd")) +
                                 QStringLiteral(".csv"));
}

bool AppendJobLog(const QString& path, const JobLogEntry& entry, QString* error) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error) *error = QStringLiteral("cannot make the folder %1").arg(info.absolutePath());
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error) *error = file.errorString();
        return false;
    }
    QByteArray text;
    // A spreadsheet takes the file as UTF-8 by its mark.
    if (file.size() == 0) text = QByteArray(kBom) + JobLogCsvLine(JobLogHeader()).toUtf8() + "\r\n";
    text += JobLogCsvLine(JobLogCells(entry)).toUtf8() + "\r\n";
    if (file.write(text) != text.size() || !file.flush()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

QList<JobLogDay> ListJobLogDays(const QString& folder) {
    static const QRegularExpression name(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})\\.csv$"));
    QList<JobLogDay> days;
    const QDir dir(folder);
    for (const QString& f : dir.entryList({QStringLiteral("*.csv")}, QDir::Files)) {
        const QRegularExpressionMatch m = name.match(f);
        if (!m.hasMatch()) continue;
        const QDate day = QDate::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd"));
        if (day.isValid()) days.append({day, dir.filePath(f)});
    }
    std::sort(days.begin(), days.end(),
              [](const JobLogDay& a, const JobLogDay& b) { return a.day > b.day; });
    return days;
}

QList<QStringList> ReadJobLog(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return {};
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith(kBom)) bytes.remove(0, 3);
    QList<QStringList> rows;
    const QStringList lines =
        QString::fromUtf8(bytes).split(QRegularExpression(QStringLiteral("\r?\n")));
    const QStringList header = JobLogHeader();
    for (const QString& line : lines) {
        if (line.isEmpty()) continue;
        const QStringList cells = splitCsvLine(line);
        if (cells == header) continue;
        rows << cells;
    }
    return rows;
}

}  // namespace baldo7
