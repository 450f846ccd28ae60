#include "storage/data_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

#include "core/model_band.h"
#include "core/software_data.h"

namespace baldo7 {

LoadResult ReadFileBytes(const QString& path, Bytes& out, qint64 limit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {LoadStatus::Unreadable, file.errorString()};
    const QByteArray data = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) return {LoadStatus::Unreadable, file.errorString()};
    if (data.size() > limit) return {LoadStatus::Refused, QString(), Refusal::TooLarge, limit};
    out.assign(data.begin(), data.end());
    return {};
}

QString FindDataFolder(const QString& programDir, const QString& installedDir) {
    auto hasTemplate = [](const QString& dir) {
        return QFileInfo::exists(QDir(dir).filePath(QStringLiteral("Init.dat")));
    };
    if (hasTemplate(programDir)) return programDir;
    const QString installed = QDir::cleanPath(QDir(programDir).filePath(installedDir));
    return hasTemplate(installed) ? installed : programDir;
}

QString ProgramFolder() {
    const QString programDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return FindDataFolder(programDir, QStringLiteral(BALDO7_DATA_FROM_BIN));
}

QString TemplatePath(const Document& doc, const QString& folder) {
    return QDir(folder).filePath(QString::fromStdString(doc.TemplateFileName));
}

namespace {

using Decoder = bool (*)(const Bytes&, RadioImage&, SoftwareData&);

LoadResult refused(const Bytes& bytes, std::size_t minimumSize) {
    return {LoadStatus::Refused, QString(),
            bytes.size() < minimumSize ? Refusal::TooShort : Refusal::WrongHeader,
            static_cast<qint64>(bytes.size())};
}

// Reads and decodes a whole document file; the document changes only when both work.
LoadResult loadDocument(Document& doc, const QString& path, Decoder decode,
                        std::size_t minimumSize) {
    Bytes bytes;
    LoadResult r = ReadFileBytes(path, bytes);
    if (!r.ok()) return r;
    RadioImage image;
    SoftwareData software;
    if (!decode(bytes, image, software)) return refused(bytes, minimumSize);
    doc.radioImage = image;
    doc.softwareData = software;
    AnalyseModel(doc);
    AnalyseSoftwareData(doc);
    return {};
}

}  // namespace

LoadResult LoadTemplate(Document& doc, const QString& folder) {
    return loadDocument(doc, TemplatePath(doc, folder), DecodeTemplate, kTemplateFileSize);
}

LoadResult LoadTemplateImage(Document& doc, const QString& folder) {
    Bytes bytes;
    LoadResult r = ReadFileBytes(TemplatePath(doc, folder), bytes);
    if (!r.ok()) return r;
    if (!DecodeTemplateImage(bytes, doc.radioImage)) return refused(bytes, kImageSize);
    return {};
}

LoadResult LoadDataFile(Document& doc, const QString& path) {
    return loadDocument(doc, path, DecodeDataFile, kDataFileSize);
}

LoadResult CheckDataFile(const QString& path) {
    Document scratch;
    return LoadDataFile(scratch, path);
}

QString DataFileRefusalText(const LoadResult& r, bool isEnglish) {
    const qint64 expected = static_cast<qint64>(kDataFileSize);
    switch (r.refusal) {
        case Refusal::None:
            return QString();
        case Refusal::TooShort:
            return (isEnglish ? QStringLiteral("too short: %1 bytes, a data file is %2")
                              : QStringLiteral("文件太短：%1 字节，数据文件应为 %2 字节"))
                .arg(r.size)
                .arg(expected);
        case Refusal::TooLarge:
            return (isEnglish ? QStringLiteral("too large: more than %1 bytes, a data file is %2")
                              : QStringLiteral("文件太大：超过 %1 字节，数据文件应为 %2 字节"))
                .arg(r.size)
                .arg(expected);
        case Refusal::WrongHeader:
            break;
    }
    return isEnglish
               ? QStringLiteral("not a BALDO-7 data file (it does not begin with \"BALDO-7 \")")
               : QStringLiteral("不是 BALDO-7 数据文件（文件开头不是“BALDO-7 ”）");
}

bool WriteFileAtomically(const QString& path, const char* data, qint64 size, QString* error,
                         FileAccess access) {
    QSaveFile file(path);
    // Unbuffered: a buffered write that fails only when flushed at commit() would not
    // stop QSaveFile from renaming the short file over the old one.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // Narrowed before any byte goes in; the rename keeps it so.
    if (ok && access == FileAccess::OwnerOnly)
        ok = file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    for (qint64 done = 0; ok && done < size;) {
        const qint64 n = file.write(data + done, size - done);
        ok = n > 0;
        done += std::max<qint64>(n, 0);
    }
    ok = ok && file.flush() && file.error() == QFileDevice::NoError;
    if (ok && file.commit()) return true;
    if (error) *error = file.errorString();
    file.cancelWriting();  // the temporary file goes with `file`; the old file stays
    return false;
}

bool WriteFileAtomically(const QString& path, const Bytes& bytes, QString* error,
                         FileAccess access) {
    return WriteFileAtomically(path, reinterpret_cast<const char*>(bytes.data()),
                               static_cast<qint64>(bytes.size()), error, access);
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error,
                         FileAccess access) {
    return WriteFileAtomically(path, bytes.constData(), bytes.size(), error, access);
}

bool SaveDataFile(Document& doc, const QString& path, QString* error, FileAccess access) {
    SaveSoftwareData(doc);
    return WriteFileAtomically(path, EncodeDataFile(doc.radioImage, doc.softwareData), error,
                               access);
}

bool MakePrivateFolder(const QString& folder) {
    // A folder that exists (the user's own, or one made before) keeps its mode.
    if (QFileInfo(folder).isDir()) return true;
    return QDir().mkpath(folder) &&
           QFile::setPermissions(
               folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace baldo7
