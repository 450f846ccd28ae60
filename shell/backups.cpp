#include "shell/backups.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include "shell/data_store.h"

namespace baldo7 {

namespace {
constexpr int kKeepDays = 365;
const char kStampFormat[] = "yyyy-MM-dd_HHmmss";
}  // namespace

QString DefaultBackupFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("backups"));
}

QString BackupFileName(const QDateTime& when, const std::string& model, BackupKind kind) {
    const QString modelText =
        model.empty() ? QStringLiteral("radio") : QString::fromStdString(model);
    return when.toString(QLatin1String(kStampFormat)) + QLatin1Char('_') + modelText +
           (kind == BackupKind::Read ? QStringLiteral("_read.rdat")
                                     : QStringLiteral("_before-write.rdat"));
}

QString WriteBackup(const Document& doc, const QString& folder, BackupKind kind,
                    const QDateTime& when, QString* error) {
    if (!QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return QString();
    }
    // A copy: writing a file puts the password fields into the software data.
    Document copy = doc;
    copy.onChangeRecorded = nullptr;
    const QString path = QDir(folder).filePath(BackupFileName(when, doc.ModelType, kind));
    if (!SaveDataFile(copy, path, error)) return QString();
    return path;
}

int PruneBackups(const QString& folder, const QDateTime& now) {
    static const QRegularExpression kName(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}_\\d{6})_.*_(read|before-write)\\.rdat$"));
    int removed = 0;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch m = kName.match(name);
        if (!m.hasMatch()) continue;
        const QDateTime made = QDateTime::fromString(m.captured(1), QLatin1String(kStampFormat));
        if (!made.isValid() || made.daysTo(now) <= kKeepDays) continue;
        if (QFile::remove(dir.filePath(name))) ++removed;
    }
    return removed;
}

}  // namespace baldo7
