#include "storage/recent_files.h"

#include <QFileInfo>
#include <algorithm>

namespace baldo7 {

QStringList WithRecentFile(QStringList list, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&absolute](const QString& entry) {
                                  return QFileInfo(entry).absoluteFilePath() == absolute;
                              }),
               list.end());
    list.prepend(absolute);
    while (list.size() > kRecentFilesMax) list.removeLast();
    return list;
}

QStringList ExistingFiles(const QStringList& list) {
    QStringList kept;
    for (const QString& entry : list)
        if (QFileInfo(entry).isFile()) kept << entry;
    return kept;
}

QStringList ReadRecentFiles(QSettings& settings) {
    QStringList list = settings.value(QLatin1String(kSettingRecentFiles)).toStringList();
    list.removeAll(QString());
    while (list.size() > kRecentFilesMax) list.removeLast();
    return list;
}

void StoreRecentFiles(QSettings& settings, const QStringList& list) {
    settings.setValue(QLatin1String(kSettingRecentFiles), list);
}

QString ReadLastFolder(QSettings& settings) {
    const QString folder = settings.value(QLatin1String(kSettingLastFolder)).toString();
    return QFileInfo(folder).isDir() ? folder : QString();
}

void StoreLastFolder(QSettings& settings, const QString& folder) {
    settings.setValue(QLatin1String(kSettingLastFolder), folder);
}

QByteArray ReadWindowGeometry(QSettings& settings) {
    return settings.value(QLatin1String(kSettingWindowGeometry)).toByteArray();
}

void StoreWindowGeometry(QSettings& settings, const QByteArray& geometry) {
    settings.setValue(QLatin1String(kSettingWindowGeometry), geometry);
}

}  // namespace baldo7
