// FormProcess: the transfer window. Hosts one programming exchange (link engine
// over the serial port), shows its progress and result, asks its questions through
// the message service and, after a read, has the open editors decode the new image.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

#include "core/document.h"
#include "link/transfer_request.h"
#include "link/write_verify.h"
#include "ui/message_service.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace baldo7 {

class LinkPort;
class QtExchangeHost;

class FormProcess : public QDialog {
    Q_OBJECT
public:
    // Moves what `request` asks for. `afterRead` runs when a read has completed (the
    // editors decode the new image). Without `port` the serial port the setting
    // names is used.
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
    // The exchange this window runs, for its owner to set up (cable power, trace)
    // before the user presses Read or Write.
    QtExchangeHost* exchangeHost() const;
    // After a completed write, read the written blocks back over the same line and
    // compare them with what was sent, as a second progress phase. A difference is
    // reported and the transfer does not count as done: the radio does not hold the
    // document.
    void setVerifyAfterWrite(bool on) { verifyAfterWrite_ = on; }
    bool verifying() const;
    // The exchange completed (and, when read back, the radio holds what was sent).
    bool succeeded() const { return succeeded_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void finishStep();
    void completeStep();
    void startReadBack();
    void readBackFinished();
    void showProgress(double fraction, const QString& label);
    void unload();

    Document& doc_;
    MessageService& messages_;
    std::function<void()> afterRead_;
    QPointer<QtExchangeHost> host_;
    bool readMode_;
    bool unloaded_ = false;
    bool verifyAfterWrite_ = false;
    bool succeeded_ = false;
    // The read-back reads into a copy: the document keeps what was written.
    std::unique_ptr<Document> readBackDoc_;
    QPointer<QtExchangeHost> readBack_;
    QString verifyText_;
};

}  // namespace baldo7
