// The function setup window: time-out timer, its warning, squelch, voice prompt and
// the five on/off functions of byte 303. Decodes on open, writes every change at once.
#pragma once

#include <QWidget>
#include <memory>

#include "core/document.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace baldo7 {

class EditorHost;
class EditorWindowEvents;

class FormOption : public QWidget {
    Q_OBJECT
public:
    FormOption(Document& doc, EditorHost& host, QWidget* parent = nullptr);

    // Fills the controls from the image, repairing out-of-range bytes in it. The
    // transfer window calls it again after a read from the radio.
    void AnalyseOption();

    QSize sizeHint() const override;

    QComboBox* ComboTOT;
    QComboBox* ComboTOTWarning;
    QComboBox* ComboSQ;
    QComboBox* ComboVoice;
    QLabel* LabelTOT;
    QLabel* LabelTOTWarning;
    QLabel* LabelSQ;
    QLabel* LabelVoice;
    QCheckBox* CheckSave;
    QCheckBox* CheckBeep;
    QCheckBox* CheckScramble;
    QCheckBox* CheckRoger;
    QCheckBox* CheckFreqHopping;
    QLineEdit* TextInfModel;  // never shown
    QPushButton* CommandClose;
    QPushButton* CommandHelp;

private:
    void fillTexts();
    void ComboTOT_Click(int index);
    void ComboTOTWarning_Click(int index);
    void ComboSQ_Click(int index);
    void ComboVoice_Click(int index);
    void checkClick(QCheckBox* box, bool ticked);
    void CommandClose_Click();
    void CommandHelp_Click();

    Document& doc_;
    EditorHost& host_;
    EditorWindowEvents* events_;
    bool decoding_ = false;
    std::unique_ptr<DocumentObservation> observation_;
};

}  // namespace baldo7
