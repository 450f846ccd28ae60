// The three modal copy tools the channel grid opens for its current row: channel
// copy, frequency copy (transmit frequency) and QT/DQT copy (encode tone).
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace baldo7 {

struct Document;
class EditorHost;

class FormChannelCopy : public QDialog {
    Q_OBJECT
public:
    FormChannelCopy(Document& doc, EditorHost& host, int row, QWidget* parent = nullptr);

    QLabel* LabelChannelCopy;
    QLineEdit* TextChannelFrom;
    QComboBox* ComboChannelTo;
    QPushButton* CommandCopy;
    QPushButton* CommandCancel;
    QPushButton* CommandHelp;

    void CommandCopy_Click();

private:
    Document& doc_;
    EditorHost& host_;
    int source_;
    int destination_;
};

class FormFrequencyCopy : public QDialog {
    Q_OBJECT
public:
    FormFrequencyCopy(Document& doc, EditorHost& host, int row, QWidget* parent = nullptr);

    QLabel* LabelRxFreq;
    QLineEdit* TextRxFreq;
    QLabel* LabelTxFreq;
    QLineEdit* TextTxFreq;
    QPushButton* CommandOK;
    QPushButton* CommandCancel;
    QPushButton* CommandHelp;

    void CommandOK_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Document& doc_;
    EditorHost& host_;
    int row_;
};

class FormQtDqtCopy : public QDialog {
    Q_OBJECT
public:
    FormQtDqtCopy(Document& doc, EditorHost& host, int row, QWidget* parent = nullptr);

    QLabel* LabelDecode;
    QLineEdit* TextDecode;
    QLabel* LabelEncode;
    QComboBox* ComboEncode;
    QPushButton* CommandOK;
    QPushButton* CommandCancel;
    QPushButton* CommandHelp;

    void CommandOK_Click();
    // Normalises the typed tone (what leaving the box does).
    void ComboEncode_LostFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Document& doc_;
    EditorHost& host_;
    int row_;
    bool enterPressed_ = false;
};

}  // namespace baldo7
