#include "shell/mdi_form_main.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QUndoStack>

#include "core/model_band.h"
#include "core/software_data.h"
#include "shell/main_window_tables.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"
#include "storage/recent_files.h"
#include "ui/ui_support.h"

namespace baldo7 {

using namespace mainwindow;

namespace {

// One user action's changed bytes; the window puts them back or again.
class MemoryStep : public QUndoCommand {
public:
    MemoryStep(MDIFormMain& window, MemoryChange change)
        : window_(window), change_(std::move(change)) {}
    void undo() override { window_.applyStep(change_, true); }
    void redo() override {
        // Pushing a step that has just happened must not apply it again.
        if (pushed_) window_.applyStep(change_, false);
        pushed_ = true;
    }

private:
    MDIFormMain& window_;
    MemoryChange change_;
    bool pushed_ = false;
};

}  // namespace

void MDIFormMain::pushStep(MemoryChange change) {
    undoStack_->push(new MemoryStep(*this, std::move(change)));
    refreshModifiedMark();
}

// ---- undo history -------------------------------------------------------------

void MDIFormMain::startFreshHistory() {
    undoStack_->clear();
    doc_.startHistory();
}

void MDIFormMain::applyStep(const MemoryChange& change, bool undo) {
    // The editors and the panels redraw as the document announces it.
    doc_.applyChange(change, undo);
}

void MDIFormMain::commitOpenEditors() {
    for (const EditorSlot& slot : kEditorSlots) {
        QWidget* w = editorWidget(slot.kind);
        auto type = parts_.editors.find(slot.kind);
        if (w && type != parts_.editors.end() && type->second.commit) type->second.commit(w);
    }
    doc_.commitChange();
}

void MDIFormMain::MenuUndo_Click() {
    // A cell being edited (grid or tune window) is committed first, so Undo takes
    // back that edit.
    commitOpenEditors();
    undoStack_->undo();
}

void MDIFormMain::MenuRedo_Click() {
    commitOpenEditors();
    undoStack_->redo();
}

bool MDIFormMain::openFile(const QString& path) {
    if (!files_->Open(path)) return false;
    startFreshHistory();
    refreshPanels();
    return true;
}

UnsavedAnswer MDIFormMain::askUnsaved() {
    commitGrid();
    doc_.commitChange();
    if (!doc_.isModified()) return UnsavedAnswer::Unmodified;
    const bool en = doc_.IsEnglish;
    const Message question{
        MsgIcon::Question,
        appTitle(),
        uiText(shelltexts::kSaveChanges, en).arg(QString::fromStdString(doc_.CurrentFileName)),
        MsgButtons::SaveDiscardCancel,
        {uiText(shelltexts::kSaveButton, en), uiText(shelltexts::kDiscardButton, en),
         uiText(shelltexts::kCancelButton, en)}};
    switch (messages_->show(question)) {
        case MsgAnswer::Save:
            if (!files_->Save()) return UnsavedAnswer::Stop;
            doc_.markUnmodified();
            refreshModifiedMark();
            return UnsavedAnswer::GoOn;
        case MsgAnswer::Discard:
            return UnsavedAnswer::GoOn;
        default:
            return UnsavedAnswer::Stop;
    }
}

void MDIFormMain::fileTaken(const QString& path) {
    recent_ = WithRecentFile(recent_, path);
    StoreRecentFiles(*settings_, recent_);
    StoreLastFolder(*settings_, files_->startFolder());
    MenuRecent->setEnabled(true);
}

void MDIFormMain::fillRecentMenu() {
    recent_ = ExistingFiles(recent_);
    StoreRecentFiles(*settings_, recent_);
    MenuRecent->clear();
    for (int i = 0; i < recent_.size(); ++i) {
        const QString path = recent_[i];
        QAction* a = MenuRecent->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        a->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        connect(a, &QAction::triggered, this, [this, path] { openFile(path); });
    }
}

bool MDIFormMain::backupsOn() const {
    return settings_->value(QStringLiteral("Backups"), true).toBool();
}

QString MDIFormMain::jobLogFolder() const {
    return JobLogFolder(backupFolder_);
}

bool MDIFormMain::logWrite(const JobLogEntry& entry) {
    if (!ReadJobLogOn(*settings_)) return true;
    const QString path = JobLogPath(jobLogFolder(), entry.when.date());
    QString error;
    if (AppendJobLog(path, entry, &error)) return true;
    messages_->show(
        MsgIcon::Warning, appTitle(),
        uiText(kJobLogFailed, doc_.IsEnglish).arg(QDir::toNativeSeparators(path), error));
    return false;
}

bool MDIFormMain::backupFailed(const BackupFailure& failure) {
    const QString where =
        QDir::toNativeSeparators(failure.folder) + QStringLiteral("\n") + failure.error;
    if (!failure.beforeSending) {
        messages_->show(MsgIcon::Warning, appTitle(),
                        uiText(shelltexts::kBackupFailed, doc_.IsEnglish).arg(where));
        return false;
    }
    return messages_->show(MsgIcon::Warning, appTitle(),
                           uiText(shelltexts::kBackupGoOn, doc_.IsEnglish).arg(where),
                           MsgButtons::OkCancel) == MsgAnswer::Ok;
}

void MDIFormMain::refreshModifiedMark() {
    setWindowModified(doc_.isModified());
}
}  // namespace baldo7
