// Automatic backups: the data read from a radio and the data about to be written
// to it, kept as data files in one folder so that a bad write or a wrong read can
// be undone from disk. Qt Core only; the command line uses it too.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "core/document.h"

namespace baldo7 {

enum class BackupKind { Read, BeforeWrite };

// AppDataLocation/backups.
QString DefaultBackupFolder();
// "2026-12-08_105959_UHF_read.rdat": sorts by time, says the model and the kind.
QString BackupFileName(const QDateTime& when, const std::string& model, BackupKind kind);
// Writes the document as a data file into `folder` (made when missing), atomically.
// Returns the file's path, or "" with `error` set.
QString WriteBackup(const Document& doc, const QString& folder, BackupKind kind,
                    const QDateTime& when, QString* error = nullptr);
struct BackupEntry {
    QString path;
    QDateTime made;
    BackupKind kind = BackupKind::Read;
    QString model;
};
// The backups in `folder`, newest first; files not named like a backup are left out.
QList<BackupEntry> ListBackups(const QString& folder);

// Removes backups older than 365 days before `now`; younger ones and anything not
// named like a backup stay. Returns how many were removed.
int PruneBackups(const QString& folder, const QDateTime& now);

}  // namespace baldo7
