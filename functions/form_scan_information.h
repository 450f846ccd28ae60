// The scan information window: priority mode, revert channel, look-back, dropout
// and transmit dwell times (bytes 288..294) and the eight priority channel slots
// (312..319). Decodes on open, writes every change at once.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;

namespace baldo7 {

struct Document;
class DocumentObservation;
class EditorHost;
class EditorWindowEvents;

class FormScanInformation : public QWidget {
    Q_OBJECT
public:
    FormScanInformation(Document& doc, EditorHost& host, QWidget* parent = nullptr);
    ~FormScanInformation() override;

    // Fills the controls from the image; never writes. Runs again whenever the scan
    // bytes or the scan list change, from any window.
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
    // One user pick: the write as one step, then the boxes show what is stored (a
    // pick the bytes no longer allow is taken back).
    void store(const std::function<void()>& write);

    Document& doc_;
    EditorHost& host_;
    EditorWindowEvents* events_;
    bool decoding_ = false;
    std::unique_ptr<DocumentObservation> observation_;
};

}  // namespace baldo7
