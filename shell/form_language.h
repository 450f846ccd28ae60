// FormLanguage: English or Chinese. OK stores a changed choice; the main window
// then closes the editors, recaptions itself and reopens the channel grid.
#pragma once

#include <QDialog>
#include <QSettings>

#include "core/document.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace baldo7 {

class FormLanguage : public QDialog {
    Q_OBJECT
public:
    FormLanguage(Document& doc, QSettings& settings, QWidget* parent = nullptr);

    bool languageChanged() const { return changed_; }

    QLabel* LabelLanguage;
    QComboBox* ComboLanguage;
    QPushButton* CommandOK;
    QPushButton* CommandCancel;

    void CommandOK_Click();

private:
    Document& doc_;
    QSettings& settings_;
    bool changed_ = false;
};

}  // namespace baldo7
