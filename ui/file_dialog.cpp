#include "ui/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "ui/ui_support.h"

namespace baldo7 {

FileDialogAnswer DialogFileChooser::choose(const FileDialogRequest& request) {
    QFileDialog dialog(owner_, request.title);
    dialog.setNameFilters(request.filters);
    if (request.open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(request.defaultSuffix);
    }
    if (!request.folder.isEmpty()) dialog.setDirectory(request.folder);
    if (!request.defaultName.isEmpty()) dialog.selectFile(request.defaultName);
    if (dialog.exec() != QDialog::Accepted) return {FileDialogAnswer::Cancelled, QString()};
    const QStringList files = dialog.selectedFiles();
    if (files.size() != 1) return {FileDialogAnswer::Failed, QString()};
    return {FileDialogAnswer::Chosen, files.front()};
}

void ScriptedFileChooser::answerWith(const QString& path) {
    answerer_ = [path](const FileDialogRequest&) {
        return path.isEmpty() ? FileDialogAnswer{FileDialogAnswer::Cancelled, QString()}
                              : FileDialogAnswer{FileDialogAnswer::Chosen, path};
    };
}

FileDialogAnswer ScriptedFileChooser::choose(const FileDialogRequest& request) {
    requests.append(request);
    if (!answerer_) return {FileDialogAnswer::Cancelled, QString()};
    return answerer_(request);
}

QString ShowFileDialog(const Document& doc, FileChooser& chooser, MessageService& messages,
                       const QString& kind, const QString& title, const QString& defaultName,
                       const QString& folder) {
    FileDialogRequest request;
    request.open = kind.toUpper() == QLatin1String("OPEN");
    request.title = title;
    request.defaultName = defaultName;
    request.folder = folder;
    request.filters = {uiText(filetexts::kFileFilter, doc.IsEnglish),
                       uiText(filetexts::kAllFilesFilter, doc.IsEnglish)};
    if (!request.open) request.defaultSuffix = QStringLiteral("rdat");
    return AskFile(doc, chooser, messages, request);
}

QString AskFile(const Document& doc, FileChooser& chooser, MessageService& messages,
                const FileDialogRequest& request) {
    const FileDialogAnswer answer = chooser.choose(request);
    if (answer.status == FileDialogAnswer::Chosen && !QFileInfo(answer.path).fileName().isEmpty())
        return answer.path;
    if (answer.status != FileDialogAnswer::Cancelled)
        messages.show(MsgIcon::Error, appTitle(), uiText(texts::kUnknownError, doc.IsEnglish));
    return QString();
}

}  // namespace baldo7
