#include "shell/support_bundle.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>
#include <algorithm>

#include "core/secrets.h"
#include "link/serial_trace.h"
#include "storage/backups.h"
#include "storage/data_store.h"
#include "ui/ui_support.h"

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
    if (WriteFileAtomically(path, text.toUtf8(), &reason, FileAccess::OwnerOnly)) return true;
    *error = path + QStringLiteral(": ") + reason;
    return false;
}

QString settingsText(QSettings& settings) {
    QString values = QStringLiteral("# %1\n").arg(settings.fileName());
    for (const QString& key : settings.allKeys())
        values += key + QStringLiteral("=") + settings.value(key).toString() + QLatin1Char('\n');
    return WithoutHomeFolder(values, QDir::homePath());
}

constexpr QFileDevice::Permissions kOwnerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

}  // namespace

constexpr BiText kBundleTitle{"Save Support Bundle", "保存支持包"};
constexpr BiText kBundleFilter{"Folder(*)", "文件夹(*)"};
constexpr BiText kBundleSaved{"The support bundle is in the folder\n%1\nSend the whole folder.",
                              "支持包已保存在文件夹\n%1\n请发送整个文件夹。"};
constexpr BiText kBundleFailed{"The support bundle could not be saved:\n%1",
                               "无法保存支持包：\n%1"};
constexpr BiText kBundleList{
    "The support bundle will hold:\n\n%1\n\nPasswords and stun/die codes are masked, and your "
    "home folder is written as ~. Choose a folder for it?",
    "支持包将包含：\n\n%1\n\n密码和遥晕/遥毙码已隐去，您的主文件夹写作 ~。请选择保存的文件夹？"};
constexpr BiText kBundleVersion{"version.txt: the program's version, Qt and the system",
                                "version.txt：程序版本、Qt 和操作系统"};
constexpr BiText kBundleSettings{"settings.txt: %1 stored settings", "settings.txt：%1 项设置"};
constexpr BiText kBundleDocument{"document.rdat: the current document, passwords masked",
                                 "document.rdat：当前文档，密码已隐去"};
constexpr BiText kBundleTraces{"traces/: %1 serial traces, passwords and stun/die codes masked",
                               "traces/：%1 个串口记录，密码和遥晕/遥毙码已隐去"};

QString WithoutHomeFolder(QString text, const QString& home) {
    const QString clean = QDir::cleanPath(home);
    if (clean.size() <= 1) return text;  // no home of its own ("/")
    for (const QString& h : {clean, QDir::toNativeSeparators(clean)}) {
        // Only the whole folder name: /home/al is not the start of /home/alice.
        const QRegularExpression at(QRegularExpression::escape(h) + QStringLiteral("(?![\\w.-])"));
        text.replace(at, QStringLiteral("~"));
    }
    return text;
}

QStringList SupportBundleContents(QSettings& settings, const QString& traceFolder, bool isEnglish) {
    QStringList lines = {uiText(kBundleVersion, isEnglish),
                         uiText(kBundleSettings, isEnglish).arg(settings.allKeys().size()),
                         uiText(kBundleDocument, isEnglish)};
    const QFileInfoList traces = tracesNewestFirst(traceFolder);
    const qsizetype count = std::min<qsizetype>(traces.size(), kBundledTraces);
    lines << uiText(kBundleTraces, isEnglish).arg(count);
    for (qsizetype i = 0; i < count; ++i) lines << QStringLiteral("    ") + traces[i].fileName();
    return lines;
}

QString TraceFolder() {
    return QFileInfo(DefaultBackupFolder()).dir().filePath(QStringLiteral("traces"));
}

QString NewTracePath(const QString& folder, bool read) {
    MakePrivateFolder(folder);
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
    // Made, or chosen empty, for the bundle: the user's only, before anything goes in.
    if (!QDir().mkpath(folder) || !QFile::setPermissions(folder, kOwnerOnlyFolder) ||
        !MakePrivateFolder(dir.filePath(QStringLiteral("traces")))) {
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

    if (!writeText(dir.filePath(QStringLiteral("settings.txt")), settingsText(settings), error))
        return false;

    // A copy: saving must not take the bundle for the document's own file.
    Document copy = doc;
    copy.onChangeRecorded = nullptr;
    MaskSecrets(copy);
    const QString document = dir.filePath(QStringLiteral("document.rdat"));
    if (!SaveDataFile(copy, document, error, FileAccess::OwnerOnly)) {
        *error = document + QStringLiteral(": ") + *error;
        return false;
    }

    // Masked again on the way: a trace of an older version holds secrets in clear.
    const QFileInfoList traces = tracesNewestFirst(traceFolder);
    for (qsizetype i = 0; i < traces.size() && i < kBundledTraces; ++i) {
        QFile from(traces[i].filePath());
        if (!from.open(QIODevice::ReadOnly)) {
            *error = from.fileName() + QStringLiteral(": ") + from.errorString();
            return false;
        }
        const QString text = MaskTraceText(QString::fromUtf8(from.readAll()));
        if (!writeText(dir.filePath(QStringLiteral("traces/") + traces[i].fileName()),
                       WithoutHomeFolder(text, QDir::homePath()), error))
            return false;
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
    if (messages.show(
            MsgIcon::Information, appTitle(),
            uiText(kBundleList, en)
                .arg(SupportBundleContents(settings, TraceFolder(), en).join(QLatin1Char('\n'))),
            MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;
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
