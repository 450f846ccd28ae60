// Reading and writing the radio data files and the template on disk (Qt Core only,
// shared by the GUI and the command line). Byte layouts are in core/data_file.h.
#pragma once

#include <QByteArray>
#include <QString>

#include "core/data_file.h"
#include "core/document.h"

namespace baldo7 {

enum class LoadStatus {
    Ok,
    Unreadable,  // missing, no permission, a folder...
    Refused,     // wrong header or too short: "Error file！"
};

// Why a file was refused, for a message that says so.
enum class Refusal { None, TooShort, TooLarge, WrongHeader };

struct LoadResult {
    LoadStatus status = LoadStatus::Ok;
    QString detail;  // system error text for Unreadable
    Refusal refusal = Refusal::None;
    qint64 size = 0;  // the bytes read when refused (TooLarge: the limit)
    bool ok() const { return status == LoadStatus::Ok; }
};

// The reason a data file was refused, in words: "too short: 1000 bytes, a data
// file is 1057". Empty for a result that is no refusal.
QString DataFileRefusalText(const LoadResult& r, bool isEnglish);

// Whole file, for files of at most `limit` bytes (data files are tiny; anything
// far larger is not ours and is not read into memory).
LoadResult ReadFileBytes(const QString& path, Bytes& out, qint64 limit = 1 << 20);

// The folder of Init.dat and the help pages: beside the program (the build tree, a
// copied folder) or, for an install, `installedDir` relative to the program's
// folder (../share/baldo7). When neither holds Init.dat, the program's folder, so
// that the message names the first place looked at.
QString FindDataFolder(const QString& programDir, const QString& installedDir);
QString ProgramFolder();
QString TemplatePath(const Document& doc, const QString& folder = ProgramFolder());

// Template: 1024 bytes into the image, then 17 into the software data block, then
// AnalyseModel and AnalyseSoftwareData. The document is unchanged on failure.
LoadResult LoadTemplate(Document& doc, const QString& folder = ProgramFolder());
// Only the image part (the model dialog's rebuild); no analysis.
LoadResult LoadTemplateImage(Document& doc, const QString& folder = ProgramFolder());

// A .rdat into the document, then AnalyseModel and AnalyseSoftwareData. The document
// is unchanged unless the result is Ok. Path and file name are the caller's business.
LoadResult LoadDataFile(Document& doc, const QString& path);
// The same reading and checks with nothing taken: lets a caller refuse a file before
// asking anything about the data it would replace.
LoadResult CheckDataFile(const QString& path);

// Who may read a file the program writes. Documents are the user's, made as the
// system makes new files; backups, traces and support bundles, which may hold
// passwords and stun/die codes, are readable by the user only (0600).
enum class FileAccess { Usual, OwnerOnly };

// SaveSoftwareData, then the 1057 bytes written atomically: a failed save leaves an
// existing file whole. Returns false with a reason on failure.
bool SaveDataFile(Document& doc, const QString& path, QString* error = nullptr,
                  FileAccess access = FileAccess::Usual);

// The one way a file is written: every write and the commit are checked, and on any
// failure (a full disk, a size limit) the old file is untouched, no temporary file
// is left and `error` holds the system's reason.
bool WriteFileAtomically(const QString& path, const char* data, qint64 size,
                         QString* error = nullptr, FileAccess access = FileAccess::Usual);
bool WriteFileAtomically(const QString& path, const Bytes& bytes, QString* error = nullptr,
                         FileAccess access = FileAccess::Usual);
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                         FileAccess access = FileAccess::Usual);

// Makes `folder` (and what is missing above it) open to the user only (0700). A
// folder that exists is left as it is.
bool MakePrivateFolder(const QString& folder);

}  // namespace baldo7
