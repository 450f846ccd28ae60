#include "storage/backups.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>

#include "storage/data_store.h"

namespace baldo7 {

namespace {
constexpr int kKeepDays = 365;
constexpr int kMostSameNames = 99;
const char kStampFormat[] = "yyyy-MM-dd_HHmmss";

QString kindName(BackupKind kind) {
    return kind == BackupKind::Read ? QStringLiteral("read") : QStringLiteral("before-write");
}

// "UHF_tune-read", the name after the time stamp without the extension.
QString nameStem(const std::string& model, BackupKind kind, BackupRange range) {
    const QString modelText =
        model.empty() ? QStringLiteral("radio") : QString::fromStdString(model);
    const QString rangeText =
        range == BackupRange::Data ? QString() : BackupRangeName(range) + QLatin1Char('-');
    return modelText + QLatin1Char('_') + rangeText + kindName(kind);
}

QString extension(BackupRange range) {
    return range == BackupRange::Data ? QStringLiteral(".rdat") : QStringLiteral(".bin");
}

}  // namespace

QString BackupRangeName(BackupRange range) {
    return QString::fromLatin1(TransferAreaName(range));
}

TransferRange ServiceBackupSpan(BackupRange range, BackupKind kind) {
    TransferRange span = AreaRange(range, true, 0);
    if (kind == BackupKind::BeforeWrite) span.end = AreaRange(range, false, 0).end;
    return span;
}

QString DefaultBackupFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("backups"));
}

QString BackupFileName(const QDateTime& when, const std::string& model, BackupKind kind,
                       BackupRange range) {
    return when.toString(QLatin1String(kStampFormat)) + QLatin1Char('_') +
           nameStem(model, kind, range) + extension(range);
}

QString WriteBackup(const Document& doc, const QString& folder, BackupKind kind,
                    const QDateTime& when, QString* error, BackupRange range) {
    if (!MakePrivateFolder(folder)) {
        if (error) *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return QString();
    }
    // Two backups of one kind in one second get "-2", "-3"...: a backup is never
    // written over.
    const QString name = BackupFileName(when, doc.ModelType, kind, range);
    QString path = QDir(folder).filePath(name);
    for (int n = 2; QFileInfo::exists(path) && n <= kMostSameNames; ++n)
        path = QDir(folder).filePath(
            QString(name).insert(name.lastIndexOf(QLatin1Char('.')), QStringLiteral("-%1").arg(n)));
    if (QFileInfo::exists(path)) {
        if (error) *error = QStringLiteral("%1 exists").arg(path);
        return QString();
    }
    if (range == BackupRange::Data) {
        // A copy: writing a file puts the password fields into the software data.
        Document copy = doc;
        copy.onChangeRecorded = nullptr;
        if (!SaveDataFile(copy, path, error, FileAccess::OwnerOnly)) return QString();
        return path;
    }
    const TransferRange span = ServiceBackupSpan(range, kind);
    const RadioMemory memory = RadioMemory::of(doc);
    Bytes bytes;
    for (int a = span.first; a < span.end; ++a) bytes.push_back(memory.at(a));
    if (!WriteFileAtomically(path, bytes, error, FileAccess::OwnerOnly)) return QString();
    return path;
}

QList<BackupEntry> ListBackups(const QString& folder) {
    // Data files end in .rdat, service dumps in .bin; "-2"... marks a second backup
    // of the same second.
    static const QRegularExpression kName(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}_\\d{6})_(.*)_(?:(tune|stundie|special|local)-)?"
                       "(read|before-write)(?:-(\\d+))?\\.(rdat|bin)$"));
    QList<BackupEntry> out;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch m = kName.match(name);
        if (!m.hasMatch()) continue;
        BackupEntry e;
        e.made = QDateTime::fromString(m.captured(1), QLatin1String(kStampFormat));
        if (!e.made.isValid()) continue;
        e.range = TransferAreaNamed(m.captured(3).toStdString()).value_or(BackupRange::Data);
        if ((e.range == BackupRange::Data) != (m.captured(6) == QLatin1String("rdat"))) continue;
        e.path = dir.filePath(name);
        e.model = m.captured(2);
        e.kind =
            m.captured(4) == QLatin1String("read") ? BackupKind::Read : BackupKind::BeforeWrite;
        if (!m.captured(5).isEmpty()) e.sameSecond = m.captured(5).toInt();
        out << e;
    }
    std::stable_sort(out.begin(), out.end(), [](const BackupEntry& a, const BackupEntry& b) {
        if (a.made != b.made) return a.made > b.made;
        if (a.sameSecond != b.sameSecond) return a.sameSecond > b.sameSecond;
        return a.path > b.path;
    });
    return out;
}

bool IsBackupFile(const QString& path, const QString& folder) {
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty() || folder.isEmpty()) return false;
    const QList<BackupEntry> backups = ListBackups(folder);
    return std::any_of(backups.begin(), backups.end(), [&target](const BackupEntry& e) {
        return QFileInfo(e.path).canonicalFilePath() == target;
    });
}

int PruneBackups(const QString& folder, const QDateTime& now) {
    int removed = 0;
    for (const BackupEntry& e : ListBackups(folder))
        if (e.made.daysTo(now) > kKeepDays && QFile::remove(e.path)) ++removed;
    return removed;
}

}  // namespace baldo7
