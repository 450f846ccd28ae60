// Automatic backups: the data read from a radio and the data about to be written
// to it, kept in one folder so that a bad write or a wrong read can be undone from
// disk. A backup of the whole image is a data file; one of a service range (tune
// data, stun/die, special option, local message) is a raw dump of that range, the
// bytes `baldo7ctl read --range` writes and `write --range` takes. Qt Core only;
// the command line uses it too.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "core/document.h"
#include "link/transfer_request.h"

namespace baldo7 {

// Read: what the radio held. BeforeWrite: what is about to be sent to it.
enum class BackupKind { Read, BeforeWrite };
// A backup keeps the area a transfer moved.
using BackupRange = TransferArea;

// "tune", "stundie", "special", "local" (the --range names); "" for Data.
QString BackupRangeName(BackupRange range);
// The radio addresses a service backup holds: a read's whole range, or the span a
// write sends from (for tune data the page 0x0300-0x03FF, not the read's 0x0FFF).
TransferRange ServiceBackupSpan(BackupRange range, BackupKind kind);

// AppDataLocation/backups.
QString DefaultBackupFolder();
// "2026-12-08_105959_UHF_read.rdat", "2026-12-08_105959_UHF_tune-before-write.bin":
// sorts by time, says the model, the range and the kind.
QString BackupFileName(const QDateTime& when, const std::string& model, BackupKind kind,
                       BackupRange range = BackupRange::Data);
// Writes the document's backup into `folder` (made when missing), atomically, under a
// name no other backup has. Data: the document as a data file; a service range: the
// bytes of ServiceBackupSpan. A backup holds the passwords or the stun/die codes: the
// file, and a folder made for it, are the user's only. Returns the file's path, or ""
// with `error` set.
QString WriteBackup(const Document& doc, const QString& folder, BackupKind kind,
                    const QDateTime& when, QString* error = nullptr,
                    BackupRange range = BackupRange::Data);
struct BackupEntry {
    QString path;
    QDateTime made;
    BackupKind kind = BackupKind::Read;
    BackupRange range = BackupRange::Data;
    QString model;
    int sameSecond = 1;  // 2, 3... for later backups of one kind in one second
};
// The backups in `folder`, newest first; files not named like a backup are left out.
QList<BackupEntry> ListBackups(const QString& folder);

// True when `path` names one of the backups ListBackups finds in `folder`: only
// pruning may change or remove such a file.
bool IsBackupFile(const QString& path, const QString& folder);

// Removes backups older than 365 days before `now`; younger ones and anything not
// named like a backup stay. Returns how many were removed.
int PruneBackups(const QString& folder, const QDateTime& now);

}  // namespace baldo7
