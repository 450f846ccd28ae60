// The local message window: the radio's dealer and production record, read from the
// radio just before, shown with every field disabled.
#pragma once

#include <QDialog>

#include "service/local_message.h"
#include "service/service_form_support.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace baldo7 {

class FormLocalMessage : public QDialog {
    Q_OBJECT
public:
    FormLocalMessage(const ServiceContext& context, QWidget* parent = nullptr);

    QComboBox* ComboRadioType;
    QComboBox* ComboFrequencyArea;
    QLineEdit* TextAreaCode;
    QLineEdit* TextSerialNumber;
    QLineEdit* TextProductedDate;
    QLineEdit* TextManufactureCode;
    QLineEdit* TextUserCode;
    QLineEdit* TextPassword;
    QLineEdit* TextMaintainedDate;
    QLineEdit* TextDealerCode;
    QLineEdit* TextStockDate;
    QLineEdit* TextSellDate;
    QLineEdit* TextSeller;
    QPlainTextEdit* TextMaintainedDescription;
    QLineEdit* TextVersion;
    QLabel* LabelPassword;
    QGroupBox* FrameSellerInformation;
    QPushButton* CommandWrite;
    QPushButton* CommandClose;
    QPushButton* CommandHelp;

    // The box of a text field.
    QWidget* fieldBox(LocalField field) const;
    QString fieldText(LocalField field) const;

private:
    void AnalyseLocalMessage();

    ServiceContext context_;
};

}  // namespace baldo7
