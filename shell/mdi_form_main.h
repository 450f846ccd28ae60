// MDIFormMain: the program's frame. Menus, toolbar, the editor tree with its
// draggable separator, the status bar, the Window menu of open editors, and every
// command that is not an editor's own. It is the EditorHost of every editor.
// Its parts live in files of their own: mdi_form_main.cpp (the frame, captions,
// panels, events), main_window_menus.cpp, main_window_commands.cpp,
// main_window_tree.cpp, editor_windows.cpp and document_guard.cpp (undo history,
// the unsaved guard, backups, recent files).
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/document.h"
#include "shell/file_commands.h"
#include "shell/help_window.h"
#include "shell/shell_parts.h"
#include "storage/backups.h"
#include "transfer/job_log.h"
#include "transfer/transfer_workflow.h"
#include "ui/editor_host.h"
#include "ui/file_dialog.h"
#include "ui/message_service.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSettings;
class QStatusBar;
class QToolBar;
class QTranslator;
class QTreeWidget;
class QTreeWidgetItem;
class QUndoStack;

namespace baldo7 {

struct ShellServices {
    QSettings* settings = nullptr;       // required
    MessageService* messages = nullptr;  // null: real message boxes
    FileChooser* files = nullptr;        // null: real file dialogs
    QString programFolder;               // Init.dat and help/; empty: beside the executable
    bool serviceMode = false;            // --service: the service configuration for this run
    QString backupFolder;                // empty: AppDataLocation/backups
    bool unattended = false;             // --exit-when-ready: a failed start-up asks nobody
};

class MDIFormMain : public QMainWindow, public EditorHost {
    Q_OBJECT
public:
    MDIFormMain(Document& doc, ShellServices services, ShellParts parts, QWidget* parent = nullptr);
    ~MDIFormMain() override;

    // The start-up sequence; false (after telling the user) when the program cannot run.
    bool startUp();
    // The data file named on the command line, opened as Open would but without the
    // dialog and the cover-data question; false (after telling the user) when it
    // could not be read.
    bool openStartFile(const QString& path);
    // Opens a dropped or recent file through the guarded Open, without the dialog.
    bool openFile(const QString& path);
    // "Save changes to NAME?" when the document has unsaved changes.
    UnsavedAnswer askUnsaved();
    QStringList recentFiles() const { return recent_; }

    // EditorHost
    void openEditor(EditorKind kind) override;
    void showHelpTopic(const QString& topic) override;
    // The page F1 opens: the active editor window's, or the first page.
    QString activeHelpTopic() const;
    MessageService& messages() override { return *messages_; }
    AppState& state() override { return state_; }

    Document& document() { return doc_; }
    QSettings& settings() { return *settings_; }
    const QString& programFolder() const { return folder_; }

    // Editors.
    void openEditorWindow(EditorWindow kind);
    QWidget* editorWidget(EditorWindow kind) const;
    QMdiSubWindow* editorSubWindow(EditorWindow kind) const;
    void closeAllEditors();
    // Close every editor, then open the channel grid in ChildWindowState.
    void editorReset();
    // After a read from the radio (the exchange has already decoded model and band):
    // every open editor decodes the new image.
    void editorsDecodeNewImage();
    // The channel grid's cell being typed, before a save, a transfer or a CSV command.
    void commitGrid();

    // Undo history: one step per user action on the document (see Document::commitChange).
    QUndoStack& undoStack() { return *undoStack_; }
    void MenuUndo_Click();
    void MenuRedo_Click();
    // New, Open, a read, a model change: no steps to go back to, nothing unsaved.
    void startFreshHistory();
    // Puts one step's bytes back (undo) or again (redo) and redraws every editor.
    void applyStep(const MemoryChange& change, bool undo);

    // Commands.
    void MenuNew_Click();
    void MenuOpen_Click();
    void MenuSave_Click();
    void MenuSaveAs_Click();
    void MenuModelInformation_Click();
    void MenuLanguage_Click();
    void MenuAbout_Click();
    void MenuSupportBundle_Click();
    // File → Backups…: the chosen backup opens through the guarded Open.
    void MenuBackups_Click();
    void MenuCom_Click();
    void MenuRead_Click();
    void MenuWrite_Click();
    // The service tools' exchanges (tune data, stun/die, special option, local
    // message, the password change), through the transfer workflow: a read keeps
    // what the radio held in the backups; a write first keeps what the radio holds
    // in its range (read now, unless this range was the last thing read from this
    // port) and what is about to be sent. True when the range moved (and, read back,
    // the radio holds what was sent).
    bool runServiceTransfer(TransferRequest request);
    // A service tool that shows what the radio holds: reads `area` first, then runs
    // the tool (one undo step) when the read went through.
    void serviceRead(TransferArea area, const std::function<void()>& tool);
    // Where backups are kept, whether the Backups setting is on, and the folder of
    // the job log beside them.
    const QString& backupFolder() const { return backupFolder_; }
    bool backupsOn() const;
    QString jobLogFolder() const;
    // Appends a write's row to the day's job log when the JobLog setting is on; a
    // failure is said. False when it was not written.
    bool logWrite(const JobLogEntry& entry);
    // The last transfer's steps and how it ended.
    const WorkflowResult& lastTransfer() const { return lastTransfer_; }
    // A modal tool: its changes are one undo step, whatever it records itself.
    void runTool(const std::function<void()>& tool);
    // Closes the tune window, then opens (or brings to the front) `kind`;
    // `cascadeWhenNew`: a window opened anew cascades the others.
    void showEditor(EditorWindow kind, bool cascadeWhenNew);
    void MenuCeng_Click();
    void MenuCloseAll_Click();
    // A click on the tree node `key` (its user data): the node's command.
    void TreeView1_NodeClick(const QString& key);

    // Every command of the window, its own and the features', with its action.
    struct CommandEntry {
        Command command;
        QAction* action = nullptr;
    };
    const std::vector<CommandEntry>& commands() const { return commands_; }

    // Texts of the current language on every caption, tool tip, tree node and panel 2.
    void applyCaptions();
    QString captionText() const;
    QString modelPanelText() const;
    QString portPanelText() const;
    // The tree panel for a separator position in twips, and the drag limits.
    void layoutTree(int xTwips);
    int separatorLeftTwips() const;
    int clampSeparator(int xTwips) const;

    HelpWindow* helpWindow() const { return help_.data(); }
    // The service configuration (--service or the ServiceMode setting) is on.
    bool serviceMode() const { return serviceMode_; }
    FileCommands& fileCommands() { return *files_; }
    FileChooser& fileChooser() { return *chooser_; }

    // No menu of toolbars on a right click of the menu bar or toolbar: the View menu
    // is where the toolbar is switched.
    QMenu* createPopupMenu() override { return nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // The part that takes a dropped file of this kind, if any.
    const FileDrop* fileDropFor(const QString& path) const;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The frame's width around the client area, taken for the help window's too.
    QMargins frameMargins() const;
    // The help window back from the dialog that had it (see showHelpTopic).
    void takeHelpBack();
    struct OpenEditor {
        QPointer<QMdiSubWindow> sub;
        QPointer<QWidget> widget;
    };

    std::vector<Command> ownCommands();
    void buildMenus();
    void buildToolbar();
    // Shown: every command the program has, the service ones in the service
    // configuration; a menu with nothing to show is hidden.
    bool commandShown(const Command& c) const;
    void showCommands();
    void applyCommandTexts(bool en);
    void runCommand(const Command& c);
    void buildTreePanel();
    // The root and a node per shown command that has one, in the commands' order.
    void fillTree(bool en);
    void buildStatusBar();
    // The caption, the unsaved mark and the model panel.
    void refreshDocumentPanels();
    void refreshClock();
    void requestRelayout();
    void refreshPanels();
    void closeTune();
    // One user action's bytes, as a step of the undo history.
    void pushStep(MemoryChange change);
    // Every open editor's pending cell edit, as one step each, before Undo or Redo.
    void commitOpenEditors();
    // The Window menu's entries, made as it opens: one per editor open in the MDI
    // area (the grid's channel edit dialog aside), the current one checked.
    void fillWindowMenu();
    void bringToFront(QMdiSubWindow* sub);
    void freeMainShortcuts(QMdiSubWindow* sub);
    void forgetEditor(EditorWindow kind, QMdiSubWindow* sub);
    void setOpenFlag(EditorWindow kind, bool open);
    void switchQtTranslation();
    void fileTaken(const QString& path);
    void fillRecentMenu();
    void refreshModifiedMark();
    // A backup failed: said, and before a write asked whether to go on without it.
    bool backupFailed(const BackupFailure& failure);
    // The transfer workflow with the transfer window for its exchanges and the
    // Backups setting; `keepRadioFirst`: a data write reads the radio first too.
    WorkflowResult runTransfer(const TransferRequest& request, bool keepRadioFirst);
    WorkflowHooks transferHooks();
    // Write To Radio: the grid's pending cell first; true when it went through.
    bool writeData(bool keepRadioFirst);

    Document& doc_;
    AppState state_;
    QSettings* settings_;
    std::unique_ptr<DialogMessageService> ownMessages_;
    MessageService* messages_;
    std::unique_ptr<DialogFileChooser> ownChooser_;
    FileChooser* chooser_;
    QString folder_;
    ShellParts parts_;
    bool serviceMode_ = false;
    bool unattended_ = false;
    std::unique_ptr<FileCommands> files_;

    QMap<EditorWindow, OpenEditor> open_;
    QList<QAction*> windowEntries_;
    QAction* windowEntriesSeparator_ = nullptr;

    QMdiArea* area_ = nullptr;
    QWidget* PictureTree = nullptr;
    QWidget* PictureSeparator = nullptr;
    QWidget* FrameTree = nullptr;
    QLabel* Label1 = nullptr;
    QTreeWidget* TreeView1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* panels_[4] = {};
    QTimer clock_;     // the date and time panels
    QTimer relayout_;  // the tree panel once a resize has settled
    bool dragging_ = false;
    int separatorTwips_ = 2500;
    // Owned here, or for a while by the modal dialog it helps with (which may be
    // deleted with it).
    QPointer<HelpWindow> help_;
    QTranslator* qtTranslator_ = nullptr;
    QString helpFolder_;

    std::vector<CommandEntry> commands_;
    std::map<CommandMenu, QMenu*> menus_;
    QMenu* MenuWindow = nullptr;
    QUndoStack* undoStack_ = nullptr;
    QMenu* MenuRecent = nullptr;
    QStringList recent_;
    QString backupFolder_;
    TransferWorkflow transfers_{transferHooks()};
    WorkflowResult lastTransfer_;
    std::unique_ptr<DocumentObservation> observation_;
};

}  // namespace baldo7
