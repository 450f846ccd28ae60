#include "shell/backups.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>

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

QList<BackupEntry> ListBackups(const QString& folder) {
    static const QRegularExpression kName(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}_\\d{6})_(.*)_(read|before-write)\\.rdat$"));
    QList<BackupEntry> out;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch m = kName.match(name);
        if (!m.hasMatch()) continue;
        BackupEntry e;
        e.made = QDateTime::fromString(m.captured(1), QLatin1String(kStampFormat));
        if (!e.made.isValid()) continue;
        e.path = dir.filePath(name);
        e.model = m.captured(2);
        e.kind =
            m.captured(3) == QLatin1String("read") ? BackupKind::Read : BackupKind::BeforeWrite;
        out << e;
    }
    std::stable_sort(out.begin(), out.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.made > b.made || (a.made == b.made && a.path > b.path);
    });
    return out;
}

int PruneBackups(const QString& folder, const QDateTime& now) {
    int removed = 0;
    for (const BackupEntry& e : ListBackups(folder))
        if (e.made.daysTo(now) > kKeepDays && QFile::remove(e.path)) ++removed;
    return removed;
}

}  // namespace baldo7
