// The embedded message window: two lines of 32 one-byte characters at image bytes
// 768..831. Decodes on open; a line that loses the focus after a change, or Enter,
// stores the whole message.
#pragma once

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace baldo7 {

struct Document;
class EditorHost;
class EditorWindowEvents;

class FormEmbedMessage : public QWidget {
    Q_OBJECT
public:
    FormEmbedMessage(Document& doc, EditorHost& host, QWidget* parent = nullptr);

    // Image to text boxes; never writes. Runs again after a read from the radio.
    void AnalyseEmbeddedInformation();
    // Text boxes to image: the whole region rewritten, each line packed from its start.
    void FreshEmbeddedInformation();
    // Stores the lines when they differ from the image: a change not yet left by
    // the focus (before Undo, which would redraw over it).
    void commitChangedLines();

    std::array<QLineEdit*, 2> TextEmbedMessage{};
    QLabel* LabelStored;
    QPushButton* CommandClose;
    QPushButton* CommandHelp;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TextEmbedMessage_KeyPress(int line);  // Enter
    void TextEmbedMessage_LostFocus(int line);
    void CommandClose_Click();
    void CommandHelp_Click();

    Document& doc_;
    EditorHost& host_;
    EditorWindowEvents* events_;
    bool enterFlag_ = false;
};

}  // namespace baldo7
