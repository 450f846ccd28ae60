#include "shell/file_commands.h"

#include <QDir>

#include "core/software_data.h"
#include "shell/data_store.h"
#include "shell/shell_texts.h"
#include "shell/ui_support.h"

namespace baldo7 {

FileCommands::FileCommands(Document& doc, FileChooser& chooser, MessageService& messages,
                           QString programFolder, Hooks hooks)
    : doc_(doc),
      chooser_(chooser),
      messages_(messages),
      folder_(std::move(programFolder)),
      hooks_(std::move(hooks)) {}

bool FileCommands::New() {
    // Path and file name stay: a following Save still targets the file opened before.
    const LoadResult r = LoadTemplate(doc_, folder_);
    if (!r.ok()) {
        messages_.show(MsgIcon::Error, appTitle(),
                       uiText(shelltexts::kTemplateMissing, doc_.IsEnglish)
                           .arg(QDir::toNativeSeparators(TemplatePath(doc_, folder_))));
        return false;
    }
    if (hooks_.editorReset) hooks_.editorReset();
    return true;
}

bool FileCommands::Open() {
    const std::string previousName = doc_.CurrentFileName;
    const QString path = ShowFileDialog(doc_, chooser_, messages_, QStringLiteral("OPEN"),
                                        uiText(shelltexts::kOpenTitle, doc_.IsEnglish), QString());
    if (path.isEmpty()) return false;
    auto keepPrevious = [&] { doc_.CurrentFileName = previousName; };

    if (messages_.show(MsgIcon::Warning, appTitle(), uiText(shelltexts::kCoverData, doc_.IsEnglish),
                       MsgButtons::OkCancel) != MsgAnswer::Ok) {
        keepPrevious();
        return false;
    }
    const LoadResult r = LoadDataFile(doc_, path);
    if (r.status == LoadStatus::Refused) {
        keepPrevious();
        messages_.show(MsgIcon::Error, uiText(texts::kErrorCaption, doc_.IsEnglish),
                       uiText(texts::kErrorFile, doc_.IsEnglish));
        return false;
    }
    if (!r.ok()) {
        keepPrevious();
        messages_.show(MsgIcon::Error, appTitle(),
                       uiText(shelltexts::kCannotRead, doc_.IsEnglish)
                           .arg(QDir::toNativeSeparators(path) + QStringLiteral("\n") + r.detail));
        return false;
    }
    doc_.CurrentFilePath = path.toStdString();
    if (hooks_.editorReset) hooks_.editorReset();
    return true;
}

bool FileCommands::Save() {
    if (hooks_.commitGrid) hooks_.commitGrid();
    SaveSoftwareData(doc_);
    const QString previousPath = QString::fromStdString(doc_.CurrentFilePath);
    const std::string previousName = doc_.CurrentFileName;
    if (doc_.CurrentFilePath.empty()) {
        doc_.CurrentFilePath = ShowFileDialog(doc_, chooser_, messages_, QStringLiteral("Save"),
                                              uiText(shelltexts::kSaveTitle, doc_.IsEnglish),
                                              QString::fromStdString(doc_.CurrentFileName))
                                   .toStdString();
    }
    if (doc_.CurrentFilePath.empty()) return false;
    return writeCurrentFile(previousPath, previousName);
}

bool FileCommands::SaveAs() {
    if (hooks_.commitGrid) hooks_.commitGrid();
    SaveSoftwareData(doc_);
    const QString previousPath = QString::fromStdString(doc_.CurrentFilePath);
    const std::string previousName = doc_.CurrentFileName;
    const QString path =
        ShowFileDialog(doc_, chooser_, messages_, QStringLiteral("Save"),
                       uiText(shelltexts::kSaveAsTitle, doc_.IsEnglish), QString());
    if (path.isEmpty()) return false;
    doc_.CurrentFilePath = path.toStdString();
    return writeCurrentFile(previousPath, previousName);
}

bool FileCommands::writeCurrentFile(const QString& previousPath, const std::string& previousName) {
    const QString path = QString::fromStdString(doc_.CurrentFilePath);
    QString error;
    if (SaveDataFile(doc_, path, &error)) return true;
    // Nothing was written, so the caption and the next Save keep the old target.
    doc_.CurrentFilePath = previousPath.toStdString();
    doc_.CurrentFileName = previousName;
    messages_.show(MsgIcon::Error, appTitle(),
                   uiText(shelltexts::kCannotWrite, doc_.IsEnglish)
                       .arg(QDir::toNativeSeparators(path) + QStringLiteral("\n") + error));
    return false;
}

}  // namespace baldo7
