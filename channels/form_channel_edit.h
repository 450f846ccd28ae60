// The channel edit dialog: every field of one channel, including those the grid does
// not show. It shows the current channel of the window state and redraws when the
// document announces a change; the grid follows it the same way. The two never call
// each other.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "channels/channel_record.h"
#include "core/document.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace baldo7 {

class AppState;
class EditorHost;
class EditorWindowEvents;

class FormChannelEdit : public QWidget {
    Q_OBJECT
public:
    FormChannelEdit(Document& doc, EditorHost& host, QWidget* parent = nullptr);

    // Fills every control from the current channel. An empty channel leaves only the
    // receive frequency usable.
    void AnalyseOneChannel();

    QSize sizeHint() const override;

    QLabel* LabelChannel;
    QComboBox* ComboChannel;
    QLabel* LabelRxFreq;
    QLineEdit* TextRxFreq;
    QLabel* LabelTxFreq;
    QLineEdit* TextTxFreq;
    QLabel* LabelDecode;
    QComboBox* ComboDecode;
    QLabel* LabelEncode;
    QComboBox* ComboEncode;
    QLabel* LabelTxPower;
    QComboBox* ComboTxPower;
    QLabel* LabelSpace;
    QComboBox* ComboSpace;
    QLabel* LabelBusyLock;
    QComboBox* ComboBusyLock;
    QLabel* LabelScrambleType;
    QComboBox* ComboScrambleType;
    QCheckBox* CheckScanAdd;
    QCheckBox* CheckReverse;
    QCheckBox* CheckTalkAround;
    QCheckBox* CheckScramble;
    QCheckBox* CheckCompand;
    QLabel* LabelCdcssMode;
    QComboBox* ComboCdcssMode;
    QPushButton* CommandClose;
    QPushButton* CommandHelp;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The channel shown, which every control writes.
    int channel() const;
    // Redraws for a change elsewhere, or once what is being typed is committed.
    void follow();
    void fillTexts();
    void fillCdcssModeList();
    void showTone(QComboBox* combo, const std::string& text);
    void refreshBusyLock();
    void changed();

    bool frequencyKey(QLineEdit* box, QKeyEvent* key);
    bool toneKey(QComboBox* combo, QKeyEvent* key);
    void commitFrequency(QLineEdit* box);
    void commitTone(QComboBox* combo, bool byEnter);

    void ComboChannel_Click(int index);
    void ComboTone_Click(QComboBox* combo, int index);
    void ComboBusyLock_Click(int index);
    void ComboCdcssMode_Click(int index);
    void CheckReverse_Click(bool ticked);
    void CheckTalkAround_Click(bool ticked);
    void reverseOrTalkAround(QCheckBox* box, bool ticked);
    void writeTone(QComboBox* combo, ToneCode code);
    std::array<QLineEdit*, 4> typedBoxes() const;
    bool typingUncommitted() const;

    Document& doc_;
    EditorHost& host_;
    AppState& state_;
    EditorWindowEvents* events_;
    bool decoding_ = false;
    bool unloaded_ = false;
    bool storing_ = false;        // its own change coming back as an announcement
    bool redrawPending_ = false;  // a change came while a box was being typed in
    int shown_ = 1;
    std::unique_ptr<DocumentObservation> observation_;
};

}  // namespace baldo7
