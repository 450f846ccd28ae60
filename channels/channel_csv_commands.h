// Import Channels and Export Channels of the File menu: the CSV file dialogs, the
// file on disk and the preview of what an import does. The rows themselves are read
// and written by channels/channel_csv.
#pragma once

#include <QString>
#include <functional>

class QWidget;

#include "core/document.h"
#include "ui/file_dialog.h"
#include "ui/message_service.h"

namespace baldo7 {

class ChannelCsvCommands {
public:
    struct Hooks {
        // FreshData of the channel grid, when open. The editors redraw the rows as the
        // document announces the import.
        std::function<void()> commitGrid;
        QString folder;  // where the file dialogs start: the folder last used
        std::function<void(const QString& folder)> folderUsed;  // a file was read or written
        // The preview's parent.
        QWidget* window = nullptr;
    };

    ChannelCsvCommands(Document& doc, FileChooser& chooser, MessageService& messages, Hooks hooks);

    // True when at least one channel was written.
    bool Import();
    // The same for a file chosen elsewhere (dropped on the main window).
    bool ImportFile(const QString& path);
    // True when the file was written.
    bool Export();

private:
    FileDialogRequest request(bool open) const;

    Document& doc_;
    FileChooser& chooser_;
    MessageService& messages_;
    Hooks hooks_;
};

}  // namespace baldo7
