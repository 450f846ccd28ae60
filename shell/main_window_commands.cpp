#include "shell/mdi_form_main.h"

#include <QDir>
#include <QLabel>
#include <QSettings>

#include "core/model_band.h"
#include "shell/form_backups.h"
#include "shell/form_language.h"
#include "shell/form_model_information.h"
#include "shell/frm_about.h"
#include "shell/help_window.h"
#include "shell/main_window_tables.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"
#include "shell/support_bundle.h"
#include "storage/data_store.h"
#include "ui/ui_support.h"

namespace baldo7 {

using namespace mainwindow;

// ---- commands -----------------------------------------------------------------

void MDIFormMain::beginExchange() {
    doc_.TransferOK = false;
}

void MDIFormMain::serviceRead(bool Document::*mode, const std::function<void()>& tool) {
    beginExchange();
    closeTune();
    if (!parts_.showProcess || !tool) return;
    doc_.ReadMode = true;
    doc_.*mode = true;
    runServiceTransfer();
    if (!doc_.TransferOK) return;
    // What the radio holds is no edit: not a step of its own, nor part of the tool's.
    doc_.settleChange();
    runTool(tool);
}

void MDIFormMain::runTool(const std::function<void()>& tool) {
    DocumentEdit edit(doc_);
    tool();
}

void MDIFormMain::MenuNew_Click() {
    if (files_->New()) startFreshHistory();
}
void MDIFormMain::MenuOpen_Click() {
    if (files_->Open()) startFreshHistory();
}
bool MDIFormMain::openStartFile(const QString& path) {
    if (!files_->OpenPath(path)) return false;
    startFreshHistory();
    refreshPanels();
    return true;
}
void MDIFormMain::MenuSave_Click() {
    if (files_->Save()) doc_.markUnmodified();
    refreshDocumentPanels();  // a first save names the file
}
void MDIFormMain::MenuSaveAs_Click() {
    if (files_->SaveAs()) doc_.markUnmodified();
    refreshDocumentPanels();
}

void MDIFormMain::MenuModelInformation_Click() {
    FormModelInformation dialog(doc_, *messages_, this);
    dialog.askUnsaved = [this] { return askUnsaved(); };
    dialog.exec();
    if (!doc_.ReloadTemplate) return;
    doc_.ReloadTemplate = false;
    if (!LoadTemplateImage(doc_, folder_).ok()) {
        messages_->show(MsgIcon::Error, appTitle(),
                        uiText(shelltexts::kTemplateMissing, doc_.IsEnglish)
                            .arg(QDir::toNativeSeparators(TemplatePath(doc_, folder_))));
        AnalyseModel(doc_);  // the limits go back to what the unchanged image says
        return;
    }
    WriteModelBytes(doc_.radioImage, RebuildModelBytes(doc_.BandHighMHz, doc_.BandLowMHz));
    doc_.forgetFile();  // new data for the model: Save must not replace the old file
    editorReset();
    startFreshHistory();
    refreshPanels();
}

void MDIFormMain::MenuLanguage_Click() {
    FormLanguage dialog(doc_, *settings_, this);
    dialog.exec();
    if (!dialog.languageChanged()) return;
    closeAllEditors();
    switchQtTranslation();
    applyCaptions();
    openEditorWindow(EditorWindow::ChannelInformation);
    if (help_) help_->setHelpFolder(helpFolder_, uiText(shelltexts::kHelpWindow, doc_.IsEnglish));
}

void MDIFormMain::MenuAbout_Click() {
    frmAbout about(doc_.IsEnglish, this);
    about.exec();
}

void MDIFormMain::MenuBackups_Click() {
    FormBackups window(ListBackups(backupFolder_), doc_.IsEnglish, this, parts_.channelsInUse);
    if (window.exec() == QDialog::Accepted && !window.chosenPath().isEmpty())
        openFile(window.chosenPath());
}

void MDIFormMain::MenuSupportBundle_Click() {
    commitGrid();
    SupportBundleCommand(doc_, *settings_, *chooser_, *messages_);
}

void MDIFormMain::MenuCom_Click() {
    if (parts_.showComPort) parts_.showComPort(*this);
    panels_[1]->setText(portPanelText());
}

void MDIFormMain::MenuRead_Click() {
    beginExchange();
    if (askUnsaved() == UnsavedAnswer::Stop) return;
    doc_.ReadMode = true;
    if (parts_.showProcess) parts_.showProcess(*this, doc_);
    noteExchange(doc_.TransferOK, BackupRange::Data);
    if (doc_.TransferOK) {
        // The radio's data, not the open file's: Save asks for a name.
        doc_.forgetFile();
        startFreshHistory();
        backUp(BackupKind::Read, false);
    }
    refreshPanels();
}

void MDIFormMain::MenuWrite_Click() {
    beginExchange();
    commitGrid();
    doc_.commitChange();
    if (!backUp(BackupKind::BeforeWrite, true)) return;
    doc_.ReadMode = false;
    // The unsaved mark stays: the edits are in the radio, not yet in the file.
    if (parts_.showProcess) parts_.showProcess(*this, doc_);
    noteExchange(false, BackupRange::Data);
    refreshPanels();
}

void MDIFormMain::noteExchange(bool completedRead, BackupRange range) {
    if (completedRead)
        lastRead_ = LastRead{range, PortSetting(doc_)};
    else
        lastRead_.reset();
}

void MDIFormMain::runServiceTransfer() {
    beginExchange();
    if (!parts_.showProcess) return;
    const BackupRange range = BackupRangeOf(doc_);
    if (doc_.ReadMode) {
        parts_.showProcess(*this, doc_);
        noteExchange(doc_.TransferOK, range);
        if (doc_.TransferOK && range != BackupRange::Data) backUp(BackupKind::Read, false, range);
        return;
    }
    if (!keepWhatTheRadioHolds(range)) return;
    // The password change: a plain write, with Write To Radio's own backup.
    if (range == BackupRange::Data) {
        MenuWrite_Click();
        return;
    }
    if (!backUp(BackupKind::BeforeWrite, true, range)) return;
    parts_.showProcess(*this, doc_);
    noteExchange(false, range);
}

bool MDIFormMain::keepWhatTheRadioHolds(BackupRange range) {
    if (!backupsOn()) return true;
    if (lastRead_ && lastRead_->range == range && lastRead_->port == PortSetting(doc_)) return true;
    // A copy takes the read: the document keeps what is about to be sent.
    Document radio = doc_;
    radio.onChangeRecorded = nullptr;
    radio.ReadMode = true;
    radio.TransferOK = false;
    parts_.showProcess(*this, radio);
    noteExchange(false, range);
    if (!radio.TransferOK) {
        messages_->show(MsgIcon::Warning, appTitle(),
                        uiText(shelltexts::kRadioNotKept, doc_.IsEnglish));
        return false;
    }
    if (range == BackupRange::Data) AnalyseModel(radio);
    return backUp(BackupKind::Read, true, range, &radio);
}
}  // namespace baldo7
