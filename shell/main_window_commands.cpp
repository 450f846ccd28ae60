#include "shell/mdi_form_main.h"

#include <QDir>
#include <QFileInfo>
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

void MDIFormMain::serviceRead(TransferArea area, const std::function<void()>& tool) {
    closeTune();
    if (!parts_.showProcess || !tool) return;
    if (!runServiceTransfer(TransferRequest::read(area))) return;
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

WorkflowHooks MDIFormMain::transferHooks() {
    return {[this](Document& doc, const TransferRequest& request, ExchangePurpose) {
                return parts_.showProcess ? parts_.showProcess(*this, doc, request)
                                          : TransferReport{};
            },
            [this](const BackupFailure& failure) { return backupFailed(failure); }};
}

WorkflowResult MDIFormMain::runTransfer(const TransferRequest& request, bool keepRadioFirst) {
    const WorkflowSettings settings{backupsOn() ? backupFolder_ : QString(), keepRadioFirst};
    lastTransfer_ = transfers_.run(doc_, request, PortSetting(doc_), settings);
    // Every write that started leaves its row, whatever its end; one cancelled in
    // the transfer window before it started is no write.
    if (!request.reading() && lastTransfer_.report &&
        lastTransfer_.report->endedIn() != TransferPhase::Waiting) {
        const TransferReport& report = *lastTransfer_.report;
        JobLogEntry entry = JobLogEntryOf(report, PortSetting(doc_));
        if (report.differs() && parts_.verifyLogText)
            entry.verify = parts_.verifyLogText(
                *report.verify, request.area == TransferArea::Data ? &doc_ : nullptr);
        entry.dataFile = QFileInfo(QString::fromStdString(doc_.CurrentFilePath)).fileName();
        if (!lastTransfer_.backups.isEmpty()) entry.backup = lastTransfer_.backups.last();
        logWrite(entry);
    }
    if (lastTransfer_.stopped == WorkflowStop::RadioNotKept)
        messages_->show(MsgIcon::Warning, appTitle(),
                        uiText(shelltexts::kRadioNotKept, doc_.IsEnglish));
    return lastTransfer_;
}

void MDIFormMain::MenuRead_Click() {
    if (askUnsaved() == UnsavedAnswer::Stop) return;
    if (runTransfer(TransferRequest::read(), false).wentThrough()) {
        // The radio's data, not the open file's: Save asks for a name.
        doc_.forgetFile();
        startFreshHistory();
    }
    refreshPanels();
}

void MDIFormMain::MenuWrite_Click() {
    writeData(false);
}

bool MDIFormMain::writeData(bool keepRadioFirst) {
    commitGrid();
    doc_.commitChange();
    // The unsaved mark stays: the edits are in the radio, not yet in the file.
    const bool done =
        runTransfer(TransferRequest::write(TransferArea::Data, ReadVerifyAfterWrite(*settings_)),
                    keepRadioFirst)
            .wentThrough();
    refreshPanels();
    return done;
}

bool MDIFormMain::runServiceTransfer(TransferRequest request) {
    if (!parts_.showProcess) return false;
    if (!request.reading()) {
        // The password change: Write To Radio, with what the radio held kept first.
        if (request.area == TransferArea::Data) return writeData(true);
        request.verify = ReadVerifyAfterWrite(*settings_);
    }
    return runTransfer(request, false).wentThrough();
}
}  // namespace baldo7
