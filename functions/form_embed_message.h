// The embedded message window: two lines of 32 one-byte characters at image bytes
// 768..831. Decodes on open and after every change of those bytes; a line that
// loses the focus or takes Enter after a change stores that line only, asking first
// when it would overwrite tune data.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace baldo7 {

struct Document;
class DocumentObservation;
class EditorHost;
class EditorWindowEvents;

class FormEmbedMessage : public QWidget {
    Q_OBJECT
public:
    FormEmbedMessage(Document& doc, EditorHost& host, QWidget* parent = nullptr);
    ~FormEmbedMessage() override;

    // Image to text boxes; never writes. Runs again whenever the bytes change.
    void AnalyseEmbeddedInformation();
    // Text boxes to image: each line that differs from what the image shows is
    // stored (see storeLine); an unchanged line stores nothing.
    void FreshEmbeddedInformation();
    // The same, for the shell: a change not yet left by the focus (before Undo,
    // which would redraw over it).
    void commitChangedLines();

    std::array<QLineEdit*, 2> TextEmbedMessage{};
    QLabel* LabelStored;
    QLabel* LabelCharacters;  // which characters the radio shows, once one was refused
    QPushButton* CommandClose;
    QPushButton* CommandHelp;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TextEmbedMessage_KeyPress(int line);  // Enter
    void TextEmbedMessage_LostFocus(int line);
    void CommandClose_Click();
    void CommandHelp_Click();
    // Stores `line` when it changed; asks first when that overwrites a tune row that
    // is not blank, unless the user agreed for that row or the row holds this
    // window's own text (until the bytes change elsewhere). False when the user
    // cancelled: the line shows the image again.
    bool storeLine(int line);
    void documentChanged(bool outside);
    void showCharacterNotice();

    Document& doc_;
    EditorHost& host_;
    EditorWindowEvents* events_;
    bool enterFlag_ = false;
    bool storing_ = false;
    std::array<bool, 4> mayOverwriteRow_{};  // by tune row 1..3
    std::unique_ptr<DocumentObservation> observation_;
};

}  // namespace baldo7
