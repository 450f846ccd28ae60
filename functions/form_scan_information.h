// The scan information window: priority mode, revert channel, look-back, dropout
// and transmit dwell times (bytes 288..294) and the eight priority channel slots
// (312..319). Decodes on open, writes every change at once.
#pragma once

#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace baldo7 {

struct Document;
class EditorHost;
class EditorWindowEvents;

class FormScanInformation : public QWidget {
    Q_OBJECT
public:
    FormScanInformation(Document& doc, EditorHost& host, QWidget* parent = nullptr);

    // Fills the controls from the image, repairing priority slots that name a channel
    // their list does not offer. Runs again after a read from the radio.
    void AnalyseScanInformation();

    QComboBox* ComboPriority;
    QLabel* LabelPriority;
    std::array<QComboBox*, 2> ComboScanBackTime{};
    std::array<QLabel*, 2> LabelScanBackTime{};
    QComboBox* ComboRevertChannel;
    QLabel* LabelRevertChannel;
    std::array<QComboBox*, 2> ComboScanDelay{};
    std::array<QLabel*, 2> LabelRevertScanDelay{};
    std::array<QComboBox*, 8> ComboPriorityChannel{};
    std::array<QLabel*, 8> LabelPriorityChannel{};
    QPushButton* CommandClose;
    QPushButton* CommandHelp;

private:
    void LanguageChange();
    void applyEnablingRule(int mode);
    void ComboPriority_Click(int index);
    void ComboRevertChannel_Click(int index);
    void ComboScanBackTime_Click(int which, int index);
    void ComboScanDelay_Click(int which, int index);
    void ComboPriorityChannel_Click(int slot, int index);
    void CommandClose_Click();
    void CommandHelp_Click();

    Document& doc_;
    EditorHost& host_;
    EditorWindowEvents* events_;
    bool decoding_ = false;
};

}  // namespace baldo7
