// The batch channel edit window (modal): the edit page with the values and
// sequences, the edit-setting page with the ten set boxes, Apply and Close.
#pragma once

#include <QDialog>
#include <array>
#include <random>

#include "channels/batch_edit.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace baldo7 {

struct Document;
class EditorHost;

class FormBatchChannelEdit : public QDialog {
    Q_OBJECT
public:
    FormBatchChannelEdit(Document& doc, EditorHost& host, QWidget* parent = nullptr);

    // What Apply would write, from the controls as they stand.
    BatchEdit currentEdit() const;
    // Tells why Apply changes nothing (see CheckBatchEdit); false when it may go on.
    bool refused(const BatchEdit& edit);
    int rangeStart() const { return rangeStart_; }
    int rangeEnd() const { return rangeEnd_; }

    std::array<QRadioButton*, 2> OptionArea{};
    QLabel* LabelArea;
    QLineEdit* TextStartChannel;
    QLineEdit* TextEndChannel;
    QLabel* LabelNote;
    QLabel* LabelRadioHolds;
    QCheckBox* CheckOption;
    QPushButton* CommandEdit;
    QStackedWidget* pages;
    QWidget* FrameEdit;
    QWidget* FrameEditSetting;

    QGroupBox* FrameRxFreq;
    QLabel *LabelRxStartFreq, *LabelRxStep;
    QLineEdit *TextRxStartFreq, *TextRxStep;
    QRadioButton *OptionRxStepUp, *OptionRxStepDown;

    QGroupBox* FrameTxFreq;
    QRadioButton *OptionTxDefault, *OptionTxOffset, *OptionTxStartFreq;
    QLineEdit *TextTxOffset, *TextTxStartFreq, *TextTxStep;
    QRadioButton *OptionPlus, *OptionMinus;
    QLabel* LabelTxStep;
    QRadioButton *OptionTxStepUp, *OptionTxStepDown;

    QGroupBox* FrameDecode;
    QLabel *LabelDecodeStart, *LabelDecodeStep;
    QComboBox* ComboDecodeStart;
    QLineEdit* TextDecodeStep;
    QRadioButton *OptionDecodeStepUp, *OptionDecodeStepDown;
    QCheckBox* CheckDecodeRandom;

    QGroupBox* FrameEncode;
    QLabel *LabelEncodeStart, *LabelEncodeStep;
    QComboBox* ComboEncodeStart;
    QLineEdit* TextEncodeStep;
    QRadioButton *OptionEncodeStepUp, *OptionEncodeStepDown;
    QCheckBox *CheckEncodeDefault, *CheckEncodeRandom;

    QLabel *LabelTxPower, *LabelSpace, *LabelBusyLock;
    QComboBox *ComboTxPower, *ComboSpace, *ComboBusyLock;
    QCheckBox *CheckScanAdd, *CheckReverse, *CheckTalkAround;

    QCheckBox *CheckSetRxFreq, *CheckSetTxFreq, *CheckSetDecode, *CheckSetEncode, *CheckSetScanAdd,
        *CheckSetReverse, *CheckSetTalkAround, *CheckSetTxPower, *CheckSetSpace, *CheckSetBusyLock;
    QPushButton *CommandSelectAll, *CommandSelectNone;
    QPushButton *CommandApply, *CommandClose;

    void CommandApply_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildEditPage();
    void buildSettingPage();
    void fillTexts();
    void OptionArea_Click(int index);
    void lostFocus(QLineEdit* box);
    void updateEnabling();
    void CommandEdit_Click();
    QList<QCheckBox*> setBoxes() const;

    Document& doc_;
    EditorHost& host_;
    int rangeStart_ = 0;
    int rangeEnd_ = kBatchChannels - 1;
    std::mt19937 random_;  // seeded once per window
};

}  // namespace baldo7
