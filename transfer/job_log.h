// The job log: one CSV row per radio a write went to, one file per day, so a dealer
// can say later which radio got which file and whether it was checked. The window
// (one radio or several) and baldo7ctl write append to it alike. Qt Core only.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/texts.h"
#include "link/write_verify.h"
#include "transfer/radio_job.h"

namespace baldo7 {

// How a radio's write ended, as the log's Outcome column says it.
enum class JobOutcome {
    Written,     // the range is in the radio (and, read back, the radio holds it)
    Differs,     // read back, and the radio holds other bytes than were sent
    Unverified,  // written, but the read-back did not complete
    NoAnswer,    // the radio never answered
    LinkFailed,  // it answered, then the exchange broke off
    PortFailed,  // the port would not open
    WrongModel,  // the radio is of the other model and was not written
    Cancelled,
};

// "written", "verify differs", "not verified", "no answer", "link failed",
// "port failed", "wrong model", "cancelled": the log's words, in every language.
const char* JobOutcomeKey(JobOutcome outcome);
// The outcome of a finished write; an exchange given up counts by how far it came
// (the caller that cancelled it knows it was cancelled).
JobOutcome JobOutcomeOf(const TransferReport& report);
// Whether the radio answered at all (its port opened and it replied): one that did
// not, asked for its serial number first, is given no write.
bool RadioAnswered(const TransferReport& report);

struct JobLogEntry {
    QDateTime when;
    QString port;
    JobOutcome outcome = JobOutcome::NoAnswer;
    QString model;         // "VHF" / "UHF" as the radio identified itself; "" when it did not
    QString band;          // the frequency area its own record gives, when it was read
    QString serialNumber;  // "" when not read, or the radio gave none
    QString dataFile;      // the file's name
    QString checksum;      // CRC-32 of the bytes written, "" when the write did not complete
    QString verify;        // "yes", "no" (not asked), "not read back", or what differs
    QString backup;        // the backup of the data sent, "" when none was made
    QString note;          // why it failed, in the words the window shows
};

// A finished write as a log entry: port, outcome, model, checksum and verify result
// from its report; the rest is the caller's.
JobLogEntry JobLogEntryOf(const TransferReport& report, const QString& port);

// The column names, and an entry as the cells of its row.
QStringList JobLogHeader();
QStringList JobLogCells(const JobLogEntry& entry);
// One CSV line (no line end): cells quoted where they must be, and a cell a
// spreadsheet would take for a formula (a radio's serial number may start with
// '=') kept as text.
QString JobLogCsvLine(const QStringList& cells);

// CRC-32 (the zip one) of the bytes the blocks carry, in address order, as 8 hex
// digits: the same file written to any radio gives the same checksum.
QString WrittenChecksum(const WrittenBlocks& blocks);

// What the window says of a row it could not append: the file, then why.
constexpr BiText kJobLogFailed{"The job log could not be written:\n%1\n%2",
                               "无法写入作业记录：\n%1\n%2"};

// The `jobs` folder beside the backups folder.
QString JobLogFolder(const QString& backupFolder);
// FOLDER/yyyy-MM-dd.csv.
QString JobLogPath(const QString& folder, const QDate& day);

// Appends the entry's row to `path`, the header first when the file is new or
// empty (the folder is made when missing). False with `error` when it could not.
bool AppendJobLog(const QString& path, const JobLogEntry& entry, QString* error);

struct JobLogDay {
    QDate day;
    QString path;
};
// The day files in `folder`, newest first; other files are left out.
QList<JobLogDay> ListJobLogDays(const QString& folder);
// The rows of a log file, the header left out; nothing with `error` when it cannot
// be read.
QList<QStringList> ReadJobLog(const QString& path, QString* error = nullptr);

}  // namespace baldo7
