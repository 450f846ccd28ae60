// The steps around one radio's exchange, in the order the window and the command
// line both take them:
//   1. a write of a service range (and, where asked, of the data) first reads what
//      the radio holds into a copy and keeps it, unless the last completed read on
//      this port was of that range and so is kept already;
//   2. a write keeps what is about to be sent;
//   3. the exchange (a write read back and compared when its request says so);
//   4. a completed read keeps what was read.
// Nothing is sent unless the backups before it are on disk or the caller said to go
// on without them. How an exchange runs (the transfer window, a job in an event
// loop) and how a failed backup is answered are the caller's: its hooks.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "core/document.h"
#include "link/transfer_request.h"
#include "storage/backups.h"
#include "transfer/radio_job.h"

namespace baldo7 {

// Why an exchange runs: the one asked for, or the read of what the radio holds
// before a write.
enum class ExchangePurpose { Asked, KeepRadio };

struct BackupFailure {
    BackupKind kind = BackupKind::Read;
    BackupRange range = BackupRange::Data;
    QString folder;
    QString error;
    // Nothing has reached the radio yet: the caller may still stop the write.
    bool beforeSending = false;
};

struct WorkflowHooks {
    // Runs one exchange of `doc` to its end and says how it went.
    std::function<TransferReport(Document& doc, const TransferRequest& request,
                                 ExchangePurpose purpose)>
        exchange;
    // A backup could not be written: true to go on without it. Only a failure before
    // sending can stop anything; after a read the answer is not asked for.
    std::function<bool(const BackupFailure& failure)> backupFailed;
};

struct WorkflowSettings {
    QString backupFolder;  // empty: no backups, and no read before a write
    // A write of the data (the password change) also reads the radio first.
    bool keepRadioBeforeDataWrite = false;
};

enum class WorkflowStop {
    None,
    RadioNotKept,   // what the radio holds could not be read: nothing was sent
    BackupRefused,  // a backup failed and the caller would not go on: nothing was sent
};

struct WorkflowResult {
    WorkflowStop stopped = WorkflowStop::None;
    std::optional<TransferReport> kept;    // the read of what the radio held
    std::optional<TransferReport> report;  // the exchange asked for, once it ran
    QStringList backups;                   // the files written, in order
    bool backupFailed = false;             // one was not written and the caller went on
    bool ok() const { return stopped == WorkflowStop::None && report && report->ok(); }
    // The range moved and a write's read-back, when one completed, found it in the
    // radio: what the window counts as done (a read-back that did not complete is
    // only said).
    bool wentThrough() const {
        return stopped == WorkflowStop::None && report && report->moved() && !report->differs();
    }
};

// Writes one backup and prunes the folder's old ones. The path, or "" with `error`.
QString KeepBackup(const Document& doc, const QString& folder, BackupKind kind, BackupRange range,
                   QString* error);

class TransferWorkflow {
public:
    explicit TransferWorkflow(WorkflowHooks hooks) : hooks_(std::move(hooks)) {}

    // Runs the steps for `request` on `doc`, the radio on `port`.
    WorkflowResult run(Document& doc, const TransferRequest& request, const QString& port,
                       const WorkflowSettings& settings);

private:
    struct LastRead {
        TransferArea area;
        QString port;
    };
    // False when the caller would not go on without it.
    bool backUp(WorkflowResult& result, const Document& doc, BackupKind kind, BackupRange range,
                const QString& folder, bool beforeSending);
    bool keepRadio(WorkflowResult& result, const Document& doc, const TransferRequest& request,
                   const QString& folder);

    WorkflowHooks hooks_;
    // The last exchange, when it was a completed read: a write of its range on its
    // port needs no second read first.
    std::optional<LastRead> lastRead_;
};

}  // namespace baldo7
