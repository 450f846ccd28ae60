// The pieces the main window puts together but does not define: the editor
// windows of the other subsystems, their commands, and the transfer and port
// windows. The application fills them with the real forms; tests may put
// stand-ins in.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "core/document.h"
#include "link/transfer_request.h"
#include "shell/command.h"
#include "transfer/radio_job.h"
#include "ui/editor_host.h"

class QWidget;

namespace baldo7 {

class MDIFormMain;

// Every MDI child the main window can hold.
enum class EditorWindow {
    ChannelInformation,
    ChannelEdit,
    Option,
    KeySetting,
    ScanInformation,
    EmbedMessage,
    Tune
};

struct EditorType {
    // Builds the form (a plain widget; the main window wraps it in a sub-window).
    std::function<QWidget*(Document&, EditorHost&, QWidget* parent)> create;
    // Commits a pending edit (a grid cell, a typed line) before Undo and Redo; the
    // channel grid's also before a save or a transfer. The form redraws itself as the
    // document announces its changes.
    std::function<void(QWidget*)> commit;
};

// A kind of file the main window takes when it is dropped on it, besides data files.
struct FileDrop {
    QString suffix;  // ".csv", any letter case
    std::function<void(MDIFormMain&, const QString& path)> open;
};

struct ShellParts {
    std::map<EditorWindow, EditorType> editors;
    // The help page F1 opens while the editor is the active window.
    std::map<EditorWindow, QString> helpTopics;
    // The transfer window, shown modally, for the exchange `request` asks of `doc`
    // (the main window's document, or a copy that takes what the radio holds before
    // a write); says how it went.
    std::function<TransferReport(MDIFormMain&, Document& doc, const TransferRequest& request)>
        showProcess;
    // The port chooser, shown modally; sets and stores the port.
    std::function<void(MDIFormMain&)> showComPort;
    // How many channels of an image are in use (File → Backups… shows it).
    std::function<int(const RadioImage&)> channelsInUse;
    // The features' commands, after the main window's own: menu items, tree nodes
    // (in this order) and what they run.
    std::vector<Command> commands;
    std::vector<FileDrop> fileDrops;
    // A write's read-back that differs, as the job log names it (`written` is the
    // document of a data write, else null); unset: the bytes alone.
    std::function<QString(const VerifyResult&, const Document* written)> verifyLogText;
};

}  // namespace baldo7
