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
    job_ = new RadioJob(doc_, request, portSetting, std::move(port), this);
    job_->setAnswerer([this](LinkQuestion q, const QString& text) {
        const bool retry = q == LinkQuestion::Retry;
        return messages_.show(retry ? MsgIcon::Error : MsgIcon::Warning, appTitle(), text,
                              retry ? MsgButtons::RetryCancel : MsgButtons::OkCancel) !=
               MsgAnswer::Cancel;
    });
    connect(job_, &RadioJob::captionChanged, this, &QWidget::setWindowTitle);
    connect(job_, &RadioJob::progressChanged, this, [this](double fraction, const QString& label) {
        if (job_->phase() != TransferPhase::Verifying) {
            showProgress(fraction, label);
            return;
        }
        showProgress(fraction, uiText(link_texts::kVerifyPrefix, doc_.IsEnglish) +
                                   QString::fromStdString(PercentText(fraction)));
    });
    connect(job_, &RadioJob::phaseChanged, this, &FormProcess::phaseChanged);
    connect(job_, &RadioJob::portOpenFailed, this,
            [this](const QString& text) { messages_.show(MsgIcon::Error, appTitle(), text); });
    connect(job_, &RadioJob::finished, this, &FormProcess::finishStep);

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

FormProcess::~FormProcess() {
    unload();
}

void FormProcess::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    (readMode_ ? CommandRead : CommandWrite)->setFocus();
}

void FormProcess::CommandRead_Click() {
    if (!job_ || unloaded_) return;
    TextShow->hide();
    TextPassword->setEnabled(false);
    CommandRead->setEnabled(false);
    job_->start();
}

void FormProcess::CommandWrite_Click() {
    if (!job_ || unloaded_) return;
    TextShow->hide();
    TextPassword->setEnabled(false);
    TextNewPassword->setEnabled(false);
    CheckNewPassword->setEnabled(false);
    CommandWrite->setEnabled(false);
    job_->start();  // the engine clears the VOX level of byte 309 first
}

void FormProcess::CommandCancel_Click() {
    unload();
    QDialog::reject();
}

void FormProcess::reject() {
    CommandCancel_Click();
}

void FormProcess::showProgress(double fraction, const QString& label) {
    ProgressBar1->setValue(static_cast<int>(fraction * kProgressScale + 0.5));
    LabelProcess->setText(label);
}

void FormProcess::phaseChanged(TransferPhase phase) {
    if (phase != TransferPhase::Verifying) return;
    using namespace link_texts;
    const bool en = doc_.IsEnglish;
    setWindowTitle(uiText(kWindowVerify, en));
    showProgress(0, uiText(kVerifyPrefix, en) + QStringLiteral("0%"));
}

void FormProcess::finishStep() {
    using namespace link_texts;
    const TransferReport& report = job_->report();
    const bool en = doc_.IsEnglish;
    if (!unloaded_ && report.unverified()) {
        verifyText_ = uiText(kVerifyIncomplete, en);
        messages_.show(MsgIcon::Warning, appTitle(), verifyText_);
    } else if (!unloaded_ && report.verify) {
        const QString text = QString::fromStdString(VerifyReportText(*report.verify, en));
        if (report.verify->ok()) {
            LabelProcess->setText(text);
        } else {
            verifyText_ = text;
            messages_.show(MsgIcon::Error, appTitle(),
                           verifyFailureText_ ? verifyFailureText_(*report.verify, en) : text);
        }
    }
    const bool succeeded = report.moved() && !report.differs();
    // A read that completed replaced the image even when the window is going anyway.
    if (succeeded && readMode_ && afterRead_) std::exchange(afterRead_, nullptr)();
    if (unloaded_) return;
    for (QWidget* w : std::initializer_list<QWidget*>{TextPassword, TextNewPassword,
                                                      CheckNewPassword, CommandWrite, CommandRead})
        w->setEnabled(true);
    (readMode_ ? CommandRead : CommandWrite)->setFocus();
    if (succeeded) {
        TextShow->setText(uiText(readMode_ ? kReadOk : kWriteOk, en));
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
    if (job_ && !job_->isFinished()) job_->cancel();  // sends nothing, frees the port
    if (job_) job_->deleteLater();
    doc_.ProgramPassword = TextPassword->text().toLatin1().toStdString();
    doc_.NewPassword = TextNewPassword->text().toLatin1().toStdString();
    doc_.ChangePasswordFlag = CheckNewPassword->isChecked();
}

}  // namespace baldo7
