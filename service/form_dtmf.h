// The stun/die window: the DTMF stun and die codes, the status, the call response
// type and (when the status-bar gesture has shown it) the enable flag of radio
// addresses 0x0B80..0x0B9F, read from the radio just before; Write sends the block back.
#pragma once

#include <QDialog>

#include "service/service_form_support.h"
#include "service/stun_die.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace baldo7 {

class FormDtmf : public QDialog {
    Q_OBJECT
public:
    FormDtmf(const ServiceContext& context, bool stunEnableVisible, QWidget* parent = nullptr);

    QComboBox* ComboStatus;
    QComboBox* ComboAckType;
    QCheckBox* CheckStunEnable;
    QGroupBox* FrameDtmf;
    QLineEdit* TextStun;
    QLineEdit* TextKill;
    QLabel* LabelStatus;
    QLabel* LabelStun;
    QLabel* LabelKill;
    QLabel* LabelAckType;
    QPushButton* CommandWrite;
    QPushButton* CommandClose;

    void CommandWrite_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AnalyseStunDie();
    void CheckStunEnable_Click();
    void codeLostFocus(QLineEdit* box);
    void enableCodes(bool on);
    std::uint8_t* block();

    ServiceContext context_;
    bool decoding_ = false;
};

}  // namespace baldo7
