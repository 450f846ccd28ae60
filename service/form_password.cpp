#include "service/form_password.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/software_data.h"
#include "service/program_password.h"
#include "service/service_texts.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr int kFieldWidthTwips = 2000;
constexpr char kHelpTopic[] = "password.htm";

std::string bytes(const QLineEdit* box) {
    return box->text().toLatin1().toStdString();
}
QLineEdit* passwordBox(const char* name) {
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    setUpPasswordBox(box);
    box->setMinimumWidth(twips(kFieldWidthTwips));
    return box;
}
}  // namespace

FormPassword::FormPassword(const ServiceContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    using namespace service_texts;
    setObjectName(QStringLiteral("FormPassword"));
    const bool en = context_.doc.IsEnglish;
    setWindowTitle(uiText(kPasswordCaption, en));
    LabelPassword = new QLabel(uiText(kPasswordLabel, en));
    LabelPassword->setObjectName(QStringLiteral("LabelPassword"));
    TextPassword = passwordBox("TextPassword");
    LabelPassword->setBuddy(TextPassword);
    TextPassword->setText(latin1Text(context_.doc.ProgramPassword));
    CommandOK = makeButton(uiText(kOk, en), "CommandOK", true);
    CommandChange = makeButton(uiText(kChange, en), "CommandChange");
    CommandCancel = makeButton(uiText(kCancel, en), "CommandCancel");
    layOutDialog(this, labelledRow(LabelPassword, TextPassword),
                 {CommandOK, CommandChange, CommandCancel});
    bindHelpKey(this, context_, QString::fromLatin1(kHelpTopic));

    connect(CommandOK, &QPushButton::clicked, this, &FormPassword::CommandOK_Click);
    connect(CommandChange, &QPushButton::clicked, this, &FormPassword::CommandChange_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FormPassword::CommandOK_Click() {
    SetProgramPassword(context_.doc, bytes(TextPassword));
    accept();
}

void FormPassword::CommandChange_Click() {
    // Only a change that was written closes with OK.
    FormPasswordChange change(context_, this);
    if (change.exec() == QDialog::Accepted)
        TextPassword->setText(latin1Text(context_.doc.ProgramPassword));
}

FormPasswordChange::FormPasswordChange(const ServiceContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    using namespace service_texts;
    setObjectName(QStringLiteral("FormPasswordChange"));
    const bool en = context_.doc.IsEnglish;
    setWindowTitle(uiText(kPasswordChangeCaption, en));
    LabelOldPassword = new QLabel(uiText(kOldPassword, en));
    LabelOldPassword->setObjectName(QStringLiteral("LabelOldPassword"));
    TextOldPassword = passwordBox("TextOldPassword");
    LabelOldPassword->setBuddy(TextOldPassword);
    auto* fields = new QGridLayout;
    fields->addWidget(LabelOldPassword, 0, 0);
    fields->addWidget(TextOldPassword, 0, 1);
    const BiText* labels[2] = {&kNewPassword, &kNewPasswordVerify};
    for (int i = 0; i < 2; ++i) {
        LabelNewPassword[i] = new QLabel(uiText(*labels[i], en));
        LabelNewPassword[i]->setObjectName(QStringLiteral("LabelNewPassword(%1)").arg(i));
        TextNewPassword[i] = passwordBox(i == 0 ? "TextNewPassword(0)" : "TextNewPassword(1)");
        LabelNewPassword[i]->setBuddy(TextNewPassword[i]);
        fields->addWidget(LabelNewPassword[i], i + 1, 0);
        fields->addWidget(TextNewPassword[i], i + 1, 1);
    }
    CommandOK = makeButton(uiText(kOk, en), "CommandOK", true);
    CommandCancel = makeButton(uiText(kCancel, en), "CommandCancel");
    layOutDialog(this, fields, {CommandOK, CommandCancel});
    bindHelpKey(this, context_, QString::fromLatin1(kHelpTopic));

    connect(CommandOK, &QPushButton::clicked, this, &FormPasswordChange::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FormPasswordChange::CommandOK_Click() {
    using namespace service_texts;
    Document& doc = context_.doc;
    const bool en = doc.IsEnglish;
    if (TextNewPassword[1]->text() != TextNewPassword[0]->text()) {
        tell(context_, uiText(kPasswordsDiffer, en));
        return;
    }
    const std::string newPassword = bytes(TextNewPassword[0]);
    {
        DocumentEdit edit(doc);
        WritePasswordBlock(doc.radioImage, newPassword);
    }
    SetProgramPassword(doc, bytes(TextOldPassword));
    if (!askToContinue(context_, uiText(kChangeConfirm, en))) return;
    if (!context_.runTransfer || !context_.runTransfer(TransferRequest::write())) return;
    tell(context_, uiText(kChangeSuccessful, en));
    SetProgramPassword(doc, newPassword);
    accept();
}

}  // namespace baldo7
