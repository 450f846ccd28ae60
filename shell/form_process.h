// FormProcess: the transfer window. Runs one radio's job (the exchange over the
// serial port and, for a write asked to verify, its read-back), shows its progress
// and result, asks its questions through the message service and, after a read,
// has the open editors decode the new image.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

#include "core/document.h"
#include "link/transfer_request.h"
#include "link/write_verify.h"
#include "transfer/radio_job.h"
#include "ui/message_service.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace baldo7 {

class LinkPort;

class FormProcess : public QDialog {
    Q_OBJECT
public:
    // Moves what `request` asks for; a write whose request says verify is read back
    // and compared as a second progress phase. `afterRead` runs when a read has
    // completed (the editors decode the new image). Without `port` the serial port
    // the setting names is used.
    FormProcess(Document& doc, const TransferRequest& request, MessageService& messages,
                const QString& portSetting, std::unique_ptr<LinkPort> port,
                std::function<void()> afterRead, QWidget* parent = nullptr);
    ~FormProcess() override;

    QProgressBar* ProgressBar1;
    QLabel* LabelProcess;
    QLineEdit* TextShow;
    QPushButton* CommandRead;
    QPushButton* CommandWrite;
    QPushButton* CommandCancel;
    QLabel* LabelPassword;
    QLineEdit* TextPassword;
    QLabel* LabelNewPassword;
    QLineEdit* TextNewPassword;
    QCheckBox* CheckNewPassword;

    void CommandRead_Click();
    void CommandWrite_Click();
    void CommandCancel_Click();

    void reject() override;
    // The job this window runs, for its owner to set up (cable power, trace) before
    // the user presses Read or Write.
    RadioJob& job() const { return *job_; }
    // Says a failed verify in full (the settings that differ, what to do); without it
    // the window names the bytes.
    void setVerifyFailureText(std::function<QString(const VerifyResult&, bool isEnglish)> text) {
        verifyFailureText_ = std::move(text);
    }
    // How it went; a write whose read-back differs did not put the document into the
    // radio.
    const TransferReport& report() const { return job_->report(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void phaseChanged(TransferPhase phase);
    void finishStep();
    void showProgress(double fraction, const QString& label);
    void unload();

    Document& doc_;
    MessageService& messages_;
    std::function<void()> afterRead_;
    QPointer<RadioJob> job_;
    bool readMode_;
    bool unloaded_ = false;
    QString verifyText_;
    std::function<QString(const VerifyResult&, bool isEnglish)> verifyFailureText_;
};

}  // namespace baldo7
