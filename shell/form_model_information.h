// FormModelInformation: pick the model and band. Accepting a choice that differs
// from the image's model record asks "Frequency data will be cleared"; on OK it
// sets the new limits and ReloadTemplate, and the main window rebuilds the image.
#pragma once

#include <QDialog>

#include "core/document.h"
#include "shell/file_commands.h"
#include "ui/message_service.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace baldo7 {

class FormModelInformation : public QDialog {
    Q_OBJECT
public:
    FormModelInformation(Document& doc, MessageService& messages, QWidget* parent = nullptr);

    QComboBox* ComboModel;
    QComboBox* ComboArea;
    QLabel* LabelModel;
    QLabel* LabelArea;
    QPushButton* CommandOK;
    QPushButton* CommandCancel;

    void ComboModel_Click();
    void CommandOK_Click();

    // Asked before the frequencies are cleared; when there are unsaved changes its
    // question replaces "Frequency data will be cleared".
    std::function<UnsavedAnswer()> askUnsaved;

private:
    void fillAreas(int modelIndex);

    Document& doc_;
    MessageService& messages_;
    int lastModelIndex_ = 0;
    bool loading_ = false;
};

}  // namespace baldo7
