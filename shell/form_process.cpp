#include "shell/form_process.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "link/exchange_qt_host.h"
#include "link/exchange_texts.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr int kProgressScale = 1000;
}

FormProcess::FormProcess(Document& doc, const TransferRequest& request, MessageService& messages,
                         const QString& portSetting, std::unique_ptr<LinkPort> port,
                         std::function<void()> afterRead, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      messages_(messages),
      afterRead_(std::move(afterRead)),
      readMode_(request.reading()) {
    setObjectName(QStringLiteral("FormProcess"));
    const bool en = doc_.IsEnglish;
    using namespace link_texts;

    // Load: the engine is made with the window.
    host_ = port ? new QtExchangeHost(doc_, request, std::move(port), portSetting, this)
                 : new QtExchangeHost(doc_, request, portSetting, this);
    host_->setAnswerer([this](LinkQuestion q, const QString& text) {
        const bool retry = q == LinkQuestion::Retry;
        return messages_.show(retry ? MsgIcon::Error : MsgIcon::Warning, appTitle(), text,
                              retry ? MsgButtons::RetryCancel : MsgButtons::OkCancel) !=
               MsgAnswer::Cancel;
    });
    connect(host_, &QtExchangeHost::captionChanged, this, &QWidget::setWindowTitle);
    connect(host_, &QtExchangeHost::progressChanged, this, &FormProcess::showProgress);
    connect(host_, &QtExchangeHost::portOpenFailed, this,
            [this](const QString& text) { messages_.show(MsgIcon::Error, appTitle(), text); });
    connect(host_, &QtExchangeHost::exchangeFinished, this, &FormProcess::finishStep);

    setWindowTitle(uiText(readMode_ ? kWindowRead : kWindowWrite, en));
    LabelProcess = new QLabel(uiText(kProgressStart, en));
    LabelProcess->setObjectName(QStringLiteral("LabelProcess"));
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, kProgressScale);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    TextShow = new QLineEdit;
    TextShow->setObjectName(QStringLiteral("TextShow"));
    TextShow->setReadOnly(true);
    TextShow->setAlignment(Qt::AlignCenter);
    TextShow->hide();
    CommandRead = makeButton(uiText(kCommandRead, en), "CommandRead", readMode_);
    CommandWrite = makeButton(uiText(kCommandWrite, en), "CommandWrite", !readMode_);
    CommandCancel = makeButton(uiText(kCommandCancel, en), "CommandCancel");
    CommandRead->setVisible(readMode_);
    CommandWrite->setVisible(!readMode_);

    // The password controls carry the software data through the exchange; never shown.
    LabelPassword = new QLabel(uiText(kLabelPassword, en));
    TextPassword = new QLineEdit(QString::fromLatin1(doc_.ProgramPassword.c_str()));
    TextPassword->setObjectName(QStringLiteral("TextPassword"));
    LabelNewPassword = new QLabel(uiText(kLabelNewPassword, en));
    TextNewPassword = new QLineEdit(QString::fromLatin1(doc_.NewPassword.c_str()));
    TextNewPassword->setObjectName(QStringLiteral("TextNewPassword"));
    CheckNewPassword = new QCheckBox;
    CheckNewPassword->setObjectName(QStringLiteral("CheckNewPassword"));
    CheckNewPassword->setChecked(doc_.ChangePasswordFlag);
    for (QLineEdit* e : {TextPassword, TextNewPassword}) e->setMaxLength(6);

    auto* passwords = new QGridLayout;
    passwords->addWidget(LabelPassword, 0, 0);
    passwords->addWidget(TextPassword, 0, 1);
    passwords->addWidget(LabelNewPassword, 1, 0);
    passwords->addWidget(TextNewPassword, 1, 1);
    passwords->addWidget(CheckNewPassword, 1, 2);
    for (QWidget* w : std::initializer_list<QWidget*>{LabelPassword, TextPassword, LabelNewPassword,
                                                      TextNewPassword, CheckNewPassword})
        w->hide();

    auto* body = new QVBoxLayout;
    body->addWidget(LabelProcess);
    body->addWidget(ProgressBar1);
    body->addWidget(TextShow);
    body->addLayout(passwords);
    body->addStretch();
    layOutDialog(this, body, {CommandRead, CommandWrite, CommandCancel});
    setMinimumWidth(twips(5400));

    connect(CommandRead, &QPushButton::clicked, this, &FormProcess::CommandRead_Click);
    connect(CommandWrite, &QPushButton::clicked, this, &FormProcess::CommandWrite_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &FormProcess::CommandCancel_Click);
}

QtExchangeHost* FormProcess::exchangeHost() const {
    return host_;
}

FormProcess::~FormProcess() {
    unload();
}

void FormProcess::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    (readMode_ ? CommandRead : CommandWrite)->setFocus();
}

void FormProcess::CommandRead_Click() {
    if (!host_ || unloaded_) return;
    TextShow->hide();
    TextPassword->setEnabled(false);
    CommandRead->setEnabled(false);
    host_->start();
}

void FormProcess::CommandWrite_Click() {
    if (!host_ || unloaded_) return;
    TextShow->hide();
    TextPassword->setEnabled(false);
    TextNewPassword->setEnabled(false);
    CheckNewPassword->setEnabled(false);
    CommandWrite->setEnabled(false);
    host_->start();  // the engine clears the VOX level of byte 309 first
}

void FormProcess::CommandCancel_Click() {
    unload();
    QDialog::reject();
}

void FormProcess::reject() {
    CommandCancel_Click();
}

bool FormProcess::verifying() const {
    return !readBack_.isNull();
}

void FormProcess::showProgress(double fraction, const QString& label) {
    ProgressBar1->setValue(static_cast<int>(fraction * kProgressScale + 0.5));
    LabelProcess->setText(label);
}

void FormProcess::finishStep() {
    succeeded_ = host_ && host_->result().ok();
    if (!readMode_ && verifyAfterWrite_ && succeeded_ && !unloaded_ && !readBack_ &&
        !host_->result().written.empty()) {
        startReadBack();
        return;
    }
    completeStep();
}

void FormProcess::startReadBack() {
    using namespace link_texts;
    const bool en = doc_.IsEnglish;
    readBackDoc_ = std::make_unique<Document>(doc_);
    readBack_ = host_->readBackHost(*readBackDoc_, this).release();
    connect(readBack_, &QtExchangeHost::progressChanged, this,
            [this](double fraction, const QString&) {
                showProgress(fraction, uiText(kVerifyPrefix, doc_.IsEnglish) +
                                           QString::fromStdString(PercentText(fraction)));
            });
    connect(readBack_, &QtExchangeHost::portOpenFailed, this,
            [this](const QString& text) { messages_.show(MsgIcon::Error, appTitle(), text); });
    connect(readBack_, &QtExchangeHost::exchangeFinished, this, &FormProcess::readBackFinished);
    setWindowTitle(uiText(kWindowVerify, en));
    showProgress(0, uiText(kVerifyPrefix, en) + QStringLiteral("0%"));
    // The write's engine is still on the stack; the read-back starts on the next pass.
    QTimer::singleShot(0, this, [this] {
        if (readBack_ && !unloaded_) readBack_->start();
    });
}

void FormProcess::readBackFinished() {
    if (unloaded_) return;
    using namespace link_texts;
    const bool en = doc_.IsEnglish;
    if (!readBack_->verifyResult()) {
        verifyText_ = uiText(kVerifyIncomplete, en);
        messages_.show(MsgIcon::Warning, appTitle(), verifyText_);
    } else {
        const VerifyResult& result = *readBack_->verifyResult();
        const QString text = QString::fromStdString(VerifyReportText(result, en));
        if (result.ok()) {
            LabelProcess->setText(text);
        } else {
            succeeded_ = false;
            verifyText_ = text;
            messages_.show(MsgIcon::Error, appTitle(), text);
        }
    }
    completeStep();
}

void FormProcess::completeStep() {
    // A read that completed replaced the image even when the window is going anyway.
    if (succeeded_ && readMode_ && afterRead_) std::exchange(afterRead_, nullptr)();
    if (unloaded_) return;
    using namespace link_texts;
    for (QWidget* w : std::initializer_list<QWidget*>{TextPassword, TextNewPassword,
                                                      CheckNewPassword, CommandWrite, CommandRead})
        w->setEnabled(true);
    (readMode_ ? CommandRead : CommandWrite)->setFocus();
    if (succeeded_) {
        TextShow->setText(uiText(readMode_ ? kReadOk : kWriteOk, doc_.IsEnglish));
        TextShow->show();
    }
    if (!verifyText_.isEmpty()) {
        TextShow->setText(verifyText_);
        TextShow->show();
    }
    // The engine is still on the stack here; the window goes on the next pass.
    QTimer::singleShot(0, this, [this] {
        unload();
        accept();
    });
}

void FormProcess::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (host_ && !host_->isFinished()) host_->cancel();  // sends nothing, frees the port
    if (host_) host_->deleteLater();
    if (readBack_ && !readBack_->isFinished()) readBack_->cancel();
    if (readBack_) readBack_->deleteLater();
    doc_.ProgramPassword = TextPassword->text().toLatin1().toStdString();
    doc_.NewPassword = TextNewPassword->text().toLatin1().toStdString();
    doc_.ChangePasswordFlag = CheckNewPassword->isChecked();
}

}  // namespace baldo7
