// The program password dialog and its change dialog. The password the program keeps
// (ProgramPassword) travels in the software data; a change puts the new password
// block into the image and sends it with a plain write.
#pragma once

#include <QDialog>
#include <array>

#include "service/service_form_support.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace baldo7 {

class FormPassword : public QDialog {
    Q_OBJECT
public:
    FormPassword(const ServiceContext& context, QWidget* parent = nullptr);

    QLabel* LabelPassword;
    QLineEdit* TextPassword;
    QPushButton* CommandOK;
    QPushButton* CommandChange;
    QPushButton* CommandCancel;

    void CommandOK_Click();
    void CommandChange_Click();

private:
    ServiceContext context_;
};

class FormPasswordChange : public QDialog {
    Q_OBJECT
public:
    FormPasswordChange(const ServiceContext& context, QWidget* parent = nullptr);

    QLabel* LabelOldPassword;
    QLineEdit* TextOldPassword;
    std::array<QLabel*, 2> LabelNewPassword{};
    std::array<QLineEdit*, 2> TextNewPassword{};
    QPushButton* CommandOK;
    QPushButton* CommandCancel;

    void CommandOK_Click();

private:
    ServiceContext context_;
};

}  // namespace baldo7
