// The File menu's recent files and the other things the main window remembers
// between runs: the dialogs' folder and its own size and place.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

namespace baldo7 {

constexpr int kRecentFilesMax = 8;
constexpr const char kSettingRecentFiles[] = "RecentFiles";
constexpr const char kSettingLastFolder[] = "LastFolder";
constexpr const char kSettingWindowGeometry[] = "MainWindowGeometry";

// `path` first, no duplicate (same file by absolute path), at most kRecentFilesMax.
QStringList WithRecentFile(QStringList list, const QString& path);
// Only the entries whose files still exist.
QStringList ExistingFiles(const QStringList& list);

QStringList ReadRecentFiles(QSettings& settings);
void StoreRecentFiles(QSettings& settings, const QStringList& list);

QString ReadLastFolder(QSettings& settings);
void StoreLastFolder(QSettings& settings, const QString& folder);

QByteArray ReadWindowGeometry(QSettings& settings);
void StoreWindowGeometry(QSettings& settings, const QByteArray& geometry);

}  // namespace baldo7
