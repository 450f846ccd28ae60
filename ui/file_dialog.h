// The one file dialog of the data-file commands: filters and titles by language,
// the chosen path, "" for cancel and for any failure (which also shows "Unknown
// error!"). The command takes the file's name once it has read or written it. The
// dialog itself is behind FileChooser so that tests answer it.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "core/document.h"
#include "core/texts.h"
#include "ui/message_service.h"

class QWidget;

namespace baldo7 {

// The texts of the file dialogs and of a file that cannot be read or written.
namespace filetexts {
constexpr BiText kFileFilter{"Radio data file(*.rdat)", "对讲机数据文件(*.rdat)"};
constexpr BiText kAllFilesFilter{"All file(*.*)", "所有文件(*.*)"};
constexpr BiText kOpenTitle{"Open", "打开"};
constexpr BiText kSaveTitle{"Save", "保存"};
constexpr BiText kSaveAsTitle{"另存为", "另存为"};
constexpr BiText kCannotRead{"The file cannot be read:\n%1", "无法读取文件：\n%1"};
constexpr BiText kCannotWrite{"The file could not be saved; the file on disk is unchanged:\n%1",
                              "文件未能保存，磁盘上的文件没有改变：\n%1"};
}  // namespace filetexts

struct FileDialogRequest {
    bool open = true;  // open dialog; otherwise the save dialog
    QString title;
    QString defaultName;    // shown in the file box
    QStringList filters;    // "Radio data file(*.rdat)", "All file(*.*)"
    QString defaultSuffix;  // added by the save dialog when none is typed
    QString folder;         // where the dialog starts; empty: the system's choice
};

struct FileDialogAnswer {
    enum Status { Chosen, Cancelled, Failed };
    Status status = Cancelled;
    QString path;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual FileDialogAnswer choose(const FileDialogRequest& request) = 0;
};

// The system's dialogs (the save dialog asks before replacing a file).
class DialogFileChooser : public FileChooser {
public:
    explicit DialogFileChooser(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    FileDialogAnswer choose(const FileDialogRequest& request) override;

private:
    QWidget* owner_;
};

// Answers from a callback; remembers every request.
class ScriptedFileChooser : public FileChooser {
public:
    using Answerer = std::function<FileDialogAnswer(const FileDialogRequest&)>;
    explicit ScriptedFileChooser(Answerer answerer = nullptr) : answerer_(std::move(answerer)) {}
    void setAnswerer(Answerer answerer) { answerer_ = std::move(answerer); }
    // Answers every following request with `path` ("" = cancel).
    void answerWith(const QString& path);
    FileDialogAnswer choose(const FileDialogRequest& request) override;

    QList<FileDialogRequest> requests;

private:
    Answerer answerer_;
};

// Asks `chooser`: the chosen path, or "" for cancel and for a failure (which shows
// "Unknown error!").
QString AskFile(const Document& doc, FileChooser& chooser, MessageService& messages,
                const FileDialogRequest& request);

// kind "OPEN" (any case) is the open dialog, anything else the save dialog.
// Returns the full path or "".
QString ShowFileDialog(const Document& doc, FileChooser& chooser, MessageService& messages,
                       const QString& kind, const QString& title, const QString& defaultName,
                       const QString& folder = QString());

}  // namespace baldo7
