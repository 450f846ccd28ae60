// New, Open, Save and Save As of the File menu and the toolbar. The window that
// owns them supplies the two steps that involve editors: committing the channel
// grid's open cell and the editor reset.
#pragma once

#include <QString>
#include <functional>

#include "core/document.h"
#include "shell/file_dialog.h"
#include "shell/message_service.h"

namespace baldo7 {

class FileCommands {
public:
    struct Hooks {
        std::function<void()> commitGrid;   // FreshData of the channel grid, when open
        std::function<void()> editorReset;  // close every editor, reopen the grid
    };

    FileCommands(Document& doc, FileChooser& chooser, MessageService& messages,
                 QString programFolder, Hooks hooks);

    // Each returns true when it replaced the data or wrote the file.
    bool New();
    bool Open();
    // Opens `path` without a dialog or the cover-data question (the file named on
    // the command line, when nothing has been edited yet).
    bool OpenPath(const QString& path);
    bool Save();
    bool SaveAs();

private:
    bool loadFile(const QString& path);
    // The path becomes the current file: Save's target and the caption's name.
    void takeFile(const QString& path);
    // Writes the data file; on success `path` becomes the current file.
    bool writeFile(const QString& path);

    Document& doc_;
    FileChooser& chooser_;
    MessageService& messages_;
    QString folder_;
    Hooks hooks_;
};

}  // namespace baldo7
