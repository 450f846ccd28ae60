#include "shell/support_bundle.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include "shell/backups.h"
#include "shell/data_store.h"
#include "shell/ui_support.h"

namespace baldo7 {

namespace {

QFileInfoList tracesNewestFirst(const QString& folder) {
    // The names sort by time; the modification time would not survive a copy.
    QFileInfoList traces = QDir(folder).entryInfoList({QStringLiteral("trace-*.txt")}, QDir::Files,
                                                      QDir::Name | QDir::Reversed);
    return traces;
}

bool writeText(const QString& path, const QString& text, QString* error) {
    QString reason;
    if (WriteFileAtomically(path, text.toUtf8(), &reason)) return true;
    *error = path + QStringLiteral(": ") + reason;
    return false;
}

}  // namespace

constexpr BiText kBundleTitle{"Save Support Bundle", "保存支持包"};
constexpr BiText kBundleFilter{"Folder(*)", "文件夹(*)"};
constexpr BiText kBundleSaved{"The support bundle is in the folder\n%1\nSend the whole folder.",
                              "支持包已保存在文件夹\n%1\n请发送整个文件夹。"};
constexpr BiText kBundleFailed{"The support bundle could not be saved:\n%1",
                               "无法保存支持包：\n%1"};

QString TraceFolder() {
    return QFileInfo(DefaultBackupFolder()).dir().filePath(QStringLiteral("traces"));
}

QString NewTracePath(const QString& folder, bool read) {
    QDir().mkpath(folder);
    const QFileInfoList old = tracesNewestFirst(folder);
    for (qsizetype i = kKeptTraces - 1; i < old.size(); ++i) QFile::remove(old[i].filePath());
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    return QDir(folder).filePath(
        QStringLiteral("trace-%1-%2.txt")
            .arg(stamp, read ? QStringLiteral("read") : QStringLiteral("write")));
}

bool SaveSupportBundle(const QString& folder, Document& doc, QSettings& settings,
                       const QString& traceFolder, QString* error) {
    QDir dir(folder);
    if (dir.exists() && !dir.isEmpty()) {
        *error = folder + QStringLiteral(": the folder is not empty");
        return false;
    }
    if (!QDir().mkpath(folder) || !dir.mkpath(QStringLiteral("traces"))) {
        *error = folder + QStringLiteral(": cannot make the folder");
        return false;
    }
    const QString version =
        QStringLiteral("%1 %2\nQt %3\n%4 (%5)\nsaved %6 UTC\n")
            .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
                 QString::fromLatin1(qVersion()), QSysInfo::prettyProductName(),
                 QSysInfo::currentCpuArchitecture(),
                 QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    if (!writeText(dir.filePath(QStringLiteral("version.txt")), version, error)) return false;

    QString values = QStringLiteral("# %1\n").arg(settings.fileName());
    for (const QString& key : settings.allKeys())
        values += key + QStringLiteral("=") + settings.value(key).toString() + QLatin1Char('\n');
    if (!writeText(dir.filePath(QStringLiteral("settings.txt")), values, error)) return false;

    // A copy: saving must not take the bundle for the document's own file.
    Document copy = doc;
    copy.onChangeRecorded = nullptr;
    if (!SaveDataFile(copy, dir.filePath(QStringLiteral("document.rdat")), error)) return false;

    const QFileInfoList traces = tracesNewestFirst(traceFolder);
    for (qsizetype i = 0; i < traces.size() && i < kBundledTraces; ++i) {
        const QString to = dir.filePath(QStringLiteral("traces/") + traces[i].fileName());
        if (!QFile::copy(traces[i].filePath(), to)) {
            *error = to + QStringLiteral(": cannot copy the trace");
            return false;
        }
    }
    return true;
}

void SupportBundleCommand(Document& doc, QSettings& settings, FileChooser& chooser,
                          MessageService& messages) {
    const bool en = doc.IsEnglish;
    FileDialogRequest request;
    request.open = false;
    request.title = uiText(kBundleTitle, en);
    request.defaultName = QStringLiteral("baldo7-support-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    request.filters = {uiText(kBundleFilter, en)};
    const FileDialogAnswer answer = chooser.choose(request);
    if (answer.status != FileDialogAnswer::Chosen || answer.path.isEmpty()) return;
    QString error;
    if (SaveSupportBundle(answer.path, doc, settings, TraceFolder(), &error))
        messages.show(MsgIcon::Information, appTitle(),
                      uiText(kBundleSaved, en).arg(QDir::toNativeSeparators(answer.path)));
    else
        messages.show(MsgIcon::Error, appTitle(), uiText(kBundleFailed, en).arg(error));
}

}  // namespace baldo7
