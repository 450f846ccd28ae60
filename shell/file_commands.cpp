#include "shell/file_commands.h"

#include <QDir>
#include <QFileInfo>

#include "core/software_data.h"
#include "shell/shell_texts.h"
#include "storage/backups.h"
#include "storage/data_store.h"
#include "ui/ui_support.h"

namespace baldo7 {

FileCommands::FileCommands(Document& doc, FileChooser& chooser, MessageService& messages,
                           QString programFolder, Hooks hooks)
    : doc_(doc),
      chooser_(chooser),
      messages_(messages),
      folder_(std::move(programFolder)),
      hooks_(std::move(hooks)) {}

bool FileCommands::New() {
    if (hooks_.askUnsaved && hooks_.askUnsaved() == UnsavedAnswer::Stop) return false;
    const LoadResult r = LoadTemplate(doc_, folder_);
    if (!r.ok()) {
        messages_.show(MsgIcon::Error, appTitle(),
                       uiText(shelltexts::kTemplateMissing, doc_.IsEnglish)
                           .arg(QDir::toNativeSeparators(TemplatePath(doc_, folder_))));
        return false;
    }
    // Fresh data has no file of its own: a Save must not overwrite the file that was
    // open before, so it asks for a name as after start-up.
    doc_.forgetFile();
    if (hooks_.editorReset) hooks_.editorReset();
    return true;
}

bool FileCommands::Open(const QString& chosen) {
    const QString path = !chosen.isEmpty()
                             ? chosen
                             : ShowFileDialog(doc_, chooser_, messages_, QStringLiteral("OPEN"),
                                              uiText(filetexts::kOpenTitle, doc_.IsEnglish),
                                              QString(), startFolder_);
    if (path.isEmpty()) return false;
    // A file that will be refused asks nothing about the data it would replace.
    if (reportFailure(CheckDataFile(path), path)) return false;
    // One question about the same loss: ours when there are unsaved changes.
    const UnsavedAnswer unsaved =
        hooks_.askUnsaved ? hooks_.askUnsaved() : UnsavedAnswer::Unmodified;
    if (unsaved == UnsavedAnswer::Stop) return false;
    if (unsaved == UnsavedAnswer::Unmodified &&
        messages_.show(MsgIcon::Warning, appTitle(), uiText(shelltexts::kCoverData, doc_.IsEnglish),
                       MsgButtons::OkCancel) != MsgAnswer::Ok)
        return false;
    return loadFile(path);
}

bool FileCommands::OpenPath(const QString& path) {
    return loadFile(QFileInfo(path).absoluteFilePath());
}

bool FileCommands::reportFailure(const LoadResult& r, const QString& path) {
    const bool en = doc_.IsEnglish;
    const QString shown = QDir::toNativeSeparators(path);
    if (r.status == LoadStatus::Refused) {
        // The familiar words first, then which file and why.
        messages_.show(MsgIcon::Error, uiText(texts::kErrorCaption, en),
                       uiText(texts::kErrorFile, en) + QStringLiteral("\n\n") + shown +
                           QStringLiteral("\n") + DataFileRefusalText(r, en));
        return true;
    }
    if (!r.ok()) {
        messages_.show(
            MsgIcon::Error, appTitle(),
            uiText(filetexts::kCannotRead, en).arg(shown + QStringLiteral("\n") + r.detail));
        return true;
    }
    return false;
}

bool FileCommands::loadFile(const QString& path) {
    if (reportFailure(LoadDataFile(doc_, path), path)) return false;
    // Only now is the file taken: the caption keeps the old name while the question
    // is open and after a refusal. A backup is never the target of Save.
    if (IsBackupFile(path, backupFolder_))
        doc_.forgetFile();
    else
        takeFile(path);
    if (hooks_.editorReset) hooks_.editorReset();
    return true;
}

bool FileCommands::Save() {
    if (hooks_.commitGrid) hooks_.commitGrid();
    SaveSoftwareData(doc_);
    QString path = QString::fromStdString(doc_.CurrentFilePath);
    if (path.isEmpty())
        path = ShowFileDialog(doc_, chooser_, messages_, QStringLiteral("Save"),
                              uiText(filetexts::kSaveTitle, doc_.IsEnglish),
                              QString::fromStdString(doc_.CurrentFileName), startFolder_);
    if (path.isEmpty()) return false;
    return writeFile(path);
}

bool FileCommands::SaveAs() {
    if (hooks_.commitGrid) hooks_.commitGrid();
    SaveSoftwareData(doc_);
    const QString path =
        ShowFileDialog(doc_, chooser_, messages_, QStringLiteral("Save"),
                       uiText(filetexts::kSaveAsTitle, doc_.IsEnglish), QString(), startFolder_);
    if (path.isEmpty()) return false;
    return writeFile(path);
}

void FileCommands::takeFile(const QString& path) {
    doc_.CurrentFilePath = path.toStdString();
    doc_.CurrentFileName = QFileInfo(path).fileName().toStdString();
    startFolder_ = QFileInfo(path).absolutePath();
    if (hooks_.fileTaken) hooks_.fileTaken(path);
}

bool FileCommands::writeFile(const QString& path) {
    // A backup stays as it was made, whatever route the save took to it.
    if (IsBackupFile(path, backupFolder_)) {
        messages_.show(
            MsgIcon::Error, appTitle(),
            uiText(shelltexts::kBackupIsKept, doc_.IsEnglish).arg(QDir::toNativeSeparators(path)));
        return false;
    }
    QString error;
    if (SaveDataFile(doc_, path, &error)) {
        takeFile(path);
        return true;
    }
    // Nothing was written, so the caption and the next Save keep the old target.
    messages_.show(MsgIcon::Error, appTitle(),
                   uiText(filetexts::kCannotWrite, doc_.IsEnglish)
                       .arg(QDir::toNativeSeparators(path) + QStringLiteral("\n") + error));
    return false;
}

}  // namespace baldo7
