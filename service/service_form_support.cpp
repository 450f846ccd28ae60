#include "service/service_form_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include "service/program_password.h"
#include "ui/dialog_help.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
class PasswordValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (const QChar c : input)
            if (!PasswordCharacterAllowed(c.unicode())) return Invalid;
        return Acceptable;
    }
};
}  // namespace

void setUpPasswordBox(QLineEdit* box) {
    box->setMaxLength(static_cast<int>(kPasswordLength));
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    box->setValidator(new PasswordValidator(box));
}

QLabel* makeLabel(const BiText& text, bool isEnglish, const char* objectName, QWidget* buddy) {
    auto* label = new QLabel(uiText(text, isEnglish));
    label->setObjectName(QString::fromLatin1(objectName));
    label->setBuddy(buddy);
    return label;
}

void bindHelpKey(QWidget* window, const ServiceContext& context, const QString& topic) {
    if (!context.showHelp) return;
    BindHelpKey(window, [help = context.showHelp, topic] { help(topic); });
}

bool askToContinue(const ServiceContext& context, const QString& text) {
    return context.messages.show(MsgIcon::Warning, appTitle(), text, MsgButtons::OkCancel) ==
           MsgAnswer::Ok;
}

void tell(const ServiceContext& context, const QString& text) {
    context.messages.show(MsgIcon::Information, appTitle(), text);
}

}  // namespace baldo7
