// The special option window: the receive voice level at radio address 0x0E11, read
// from the radio just before; Write stores the level and sends the block back.
#pragma once

#include <QDialog>

#include "service/service_form_support.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace baldo7 {

class FormSpecial : public QDialog {
    Q_OBJECT
public:
    FormSpecial(const ServiceContext& context, QWidget* parent = nullptr);

    QLabel* LabelRxVoice;
    QComboBox* ComboRxVoice;
    QPushButton* CommandWrite;
    QPushButton* CommandClose;

    void CommandWrite_Click();

private:
    ServiceContext context_;
};

}  // namespace baldo7
