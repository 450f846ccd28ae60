// New, Open, Save and Save As of the File menu and the toolbar. The window that
// owns them supplies the two steps that involve editors: committing the channel
// grid's open cell and the editor reset.
#pragma once

#include <QString>
#include <functional>

#include "core/document.h"
#include "storage/data_store.h"
#include "ui/file_dialog.h"
#include "ui/message_service.h"

namespace baldo7 {

// The unsaved-changes question before data is replaced.
enum class UnsavedAnswer {
    Unmodified,  // nothing to lose: no question was asked
    GoOn,        // saved or discarded
    Stop,        // cancelled, or the save failed
};

class FileCommands {
public:
    struct Hooks {
        std::function<void()> commitGrid;           // FreshData of the channel grid, when open
        std::function<void()> editorReset;          // close every editor, reopen the grid
        std::function<UnsavedAnswer()> askUnsaved;  // null: never anything to lose
        // A file was opened or saved (recent files, the dialogs' folder).
        std::function<void(const QString& path)> fileTaken;
    };

    FileCommands(Document& doc, FileChooser& chooser, MessageService& messages,
                 QString programFolder, Hooks hooks);

    // Each returns true when it replaced the data or wrote the file.
    bool New();
    // `path` empty: the open dialog chooses. The unsaved-changes question, when there
    // are changes, takes the place of "Do you want to cover current data?".
    bool Open(const QString& path = QString());
    // Opens `path` without a dialog or the cover-data question (the file named on
    // the command line, when nothing has been edited yet).
    bool OpenPath(const QString& path);
    bool Save();
    bool SaveAs();

    // The folder the open and save dialogs start in.
    void setStartFolder(const QString& folder) { startFolder_ = folder; }
    const QString& startFolder() const { return startFolder_; }
    // The program's backups folder: a backup opens as data without a file of its
    // own, and no save writes over one.
    void setBackupFolder(const QString& folder) { backupFolder_ = folder; }

private:
    bool loadFile(const QString& path);
    // Tells why `path` could not be read or was refused; false when `r` is Ok.
    bool reportFailure(const LoadResult& r, const QString& path);
    // The path becomes the current file: Save's target and the caption's name.
    void takeFile(const QString& path);
    // Writes the data file; on success `path` becomes the current file.
    bool writeFile(const QString& path);

    Document& doc_;
    FileChooser& chooser_;
    MessageService& messages_;
    QString folder_;
    Hooks hooks_;
    QString startFolder_;
    QString backupFolder_;
};

}  // namespace baldo7
