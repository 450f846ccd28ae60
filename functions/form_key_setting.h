// The key setting window: the functions of the side keys PF1 and PF2 (byte 306).
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "core/document.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace baldo7 {

class EditorHost;
class EditorWindowEvents;

class FormKeySetting : public QWidget {
    Q_OBJECT
public:
    FormKeySetting(Document& doc, EditorHost& host, QWidget* parent = nullptr);

    // Shows byte 306 in the two key lists; never writes. The transfer window calls it
    // again after a read from the radio.
    void AnalyseKeySetting();

    QSize sizeHint() const override;

    // Elements 2 and 3 (the long-press keys) have no image field and stay hidden.
    std::array<QComboBox*, 4> ComboKeySet{};
    std::array<QLabel*, 4> LabelKeySet{};
    QPushButton* CommandClose;
    QPushButton* CommandHelp;

private:
    void ComboKeySet_Click(int index, int selected);
    void CommandClose_Click();
    void CommandHelp_Click();

    Document& doc_;
    EditorHost& host_;
    EditorWindowEvents* events_;
    bool decoding_ = false;
    std::unique_ptr<DocumentObservation> observation_;
};

}  // namespace baldo7
