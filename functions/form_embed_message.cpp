#include "functions/form_embed_message.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>
#include <functional>

#include "core/document.h"
#include "functions/embedded_message.h"
#include "service/service_texts.h"
#include "ui/editor_host.h"
#include "ui/editor_window_events.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {

// Refuses, as it is typed, pasted or committed by an input method, any text holding a
// character a one-byte cell cannot keep and show back; the box then stays as it was.
// `refused` runs when a character is the reason.
class MessageValidator : public QValidator {
public:
    MessageValidator(QObject* parent, std::function<void()> refused)
        : QValidator(parent), refused_(std::move(refused)) {}
    State validate(QString& input, int&) const override {
        if (input.size() > static_cast<int>(kMessageLineCells)) return Invalid;
        for (const QChar c : input)
            if (!MessageByteShown(c.unicode())) {
                refused_();
                return Invalid;
            }
        return Acceptable;
    }

private:
    std::function<void()> refused_;
};

}  // namespace

FormEmbedMessage::FormEmbedMessage(Document& doc, EditorHost& host, QWidget* parent)
    : QWidget(parent), doc_(doc), host_(host) {
    setObjectName(QStringLiteral("FormEmbedMessage"));
    auto* validator = new MessageValidator(this, [this] { showCharacterNotice(); });
    auto* lines = new QVBoxLayout;
    for (int i = 0; i < 2; ++i) {
        QLineEdit* box = new QLineEdit;
        box->setObjectName(QStringLiteral("TextEmbedMessage(%1)").arg(i));
        box->setMaxLength(static_cast<int>(kMessageLineCells));
        box->setValidator(validator);
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(34, QLatin1Char('W'))));
        box->installEventFilter(this);
        lines->addWidget(box);
        TextEmbedMessage[i] = box;
    }
    LabelStored = new QLabel;
    LabelStored->setObjectName(QStringLiteral("LabelStored"));
    LabelCharacters = new QLabel;
    LabelCharacters->setObjectName(QStringLiteral("LabelCharacters"));
    LabelCharacters->setWordWrap(true);
    LabelCharacters->hide();
    CommandClose = new QPushButton;
    CommandClose->setObjectName(QStringLiteral("CommandClose"));
    CommandHelp = new QPushButton;
    CommandHelp->setObjectName(QStringLiteral("CommandHelp"));
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(lines);
    outer->addWidget(LabelStored);
    outer->addWidget(LabelCharacters);
    outer->addStretch(1);
    outer->addLayout(closeHelpButtonRow(CommandClose, CommandHelp));

    // Load.
    events_ = new EditorWindowEvents(this, host_.state(), &AppState::FormEmbedMessageOpen);
    const bool en = doc_.IsEnglish;
    setWindowTitle(uiText(message_texts::kCaption, en));
    LabelStored->setText(uiText(message_texts::kStoredInFile, en));
    CommandClose->setText(uiText(texts::kClose, en));
    CommandHelp->setText(uiText(texts::kHelp, en));
    AnalyseEmbeddedInformation();
    resize(sizeHint());
    observation_ = std::make_unique<DocumentObservation>(doc_, [this](const DocumentChange& c) {
        if (c.touches(addr::kEmbeddedMessage, kMessageEnd)) documentChanged(!storing_);
    });

    for (int i = 0; i < 2; ++i)
        connect(TextEmbedMessage[i], &QLineEdit::returnPressed, this,
                [this, i] { TextEmbedMessage_KeyPress(i); });
    connect(CommandClose, &QPushButton::clicked, this, &FormEmbedMessage::CommandClose_Click);
    connect(CommandHelp, &QPushButton::clicked, this, &FormEmbedMessage::CommandHelp_Click);
}

void FormEmbedMessage::AnalyseEmbeddedInformation() {
    const MessageLines lines = EmbeddedMessageLines(doc_.radioImage);
    for (int i = 0; i < 2; ++i)
        TextEmbedMessage[i]->setText(QString::fromLatin1(lines[static_cast<std::size_t>(i)]));
}

FormEmbedMessage::~FormEmbedMessage() = default;

void FormEmbedMessage::showCharacterNotice() {
    // Said once, in the window: a message box at every refused key would be a trap.
    if (!LabelCharacters->isHidden()) return;
    LabelCharacters->setText(uiText(message_texts::kCharactersShown, doc_.IsEnglish));
    LabelCharacters->show();
    // The frame grows as far as the notice needs; a larger window stays as it is.
    QWidget* frame = parentWidget() ? parentWidget() : this;
    frame->resize(frame->size().expandedTo(frame->sizeHint()));
}

void FormEmbedMessage::documentChanged(bool outside) {
    // Another window (the tune data, an undo) changed the bytes: what was agreed to
    // overwrite is no longer what is there.
    if (outside) mayOverwriteRow_ = {};
    AnalyseEmbeddedInformation();
}

bool FormEmbedMessage::storeLine(int line) {
    const auto at = static_cast<std::size_t>(line);
    const std::string text = TextEmbedMessage[line]->text().toLatin1().toStdString();
    if (storing_ || !MessageLineChanged(doc_.radioImage, at, text)) return true;
    // Rows the user agreed to lose, or that hold this window's own text, do not ask.
    std::vector<int> lost;
    for (const int row : TuneRowsLostByStoring(doc_.radioImage, doc_.BandLowMHz, at, text))
        if (!mayOverwriteRow_[static_cast<std::size_t>(row)]) lost.push_back(row);
    if (!lost.empty()) {
        const bool en = doc_.IsEnglish;
        QStringList rows;
        for (const int row : lost)
            rows << QStringLiteral("\"%1\"").arg(uiText(service_texts::kTuneRowHeaders[row], en));
        const QString question =
            uiText(message_texts::kLineOverwritesTune, en)
                .arg(line + 1)
                .arg(rows.join(en ? QStringLiteral(", ") : QStringLiteral("、")));
        storing_ = true;  // the box's focus-out while the question is up
        const MsgAnswer answer =
            host_.messages().show(MsgIcon::Warning, appTitle(), question, MsgButtons::OkCancel);
        storing_ = false;
        if (answer != MsgAnswer::Ok) {
            AnalyseEmbeddedInformation();
            return false;
        }
    }
    for (const int row : TuneRowsTouchedByStoring(doc_.radioImage, doc_.BandLowMHz, at, text))
        mayOverwriteRow_[static_cast<std::size_t>(row)] = true;
    storing_ = true;
    {
        DocumentEdit edit(doc_);
        SetMessageLine(doc_.radioImage, at, text);
    }
    storing_ = false;
    AnalyseEmbeddedInformation();
    return true;
}

void FormEmbedMessage::FreshEmbeddedInformation() {
    for (int i = 0; i < 2; ++i) storeLine(i);
}

void FormEmbedMessage::commitChangedLines() {
    FreshEmbeddedInformation();
}

bool FormEmbedMessage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut)
        for (int i = 0; i < 2; ++i)
            if (watched == TextEmbedMessage[i]) TextEmbedMessage_LostFocus(i);
    return QWidget::eventFilter(watched, event);
}

void FormEmbedMessage::TextEmbedMessage_KeyPress(int line) {
    enterFlag_ = true;
    TextEmbedMessage_LostFocus(line);
}

void FormEmbedMessage::TextEmbedMessage_LostFocus(int line) {
    // Passing through a line, or Enter on it, stores nothing unless it changed: the
    // bytes are also tune data.
    const bool stored = storeLine(line);
    if (!enterFlag_) return;
    enterFlag_ = false;   // before the focus moves: that focus-out comes back here
    if (!stored) return;  // cancelled: the line is back, the cursor stays in it
    if (line == 0) {
        TextEmbedMessage[1]->setFocus(Qt::OtherFocusReason);
        TextEmbedMessage[1]->selectAll();
    } else {
        CommandClose->setFocus(Qt::OtherFocusReason);
    }
}

void FormEmbedMessage::CommandClose_Click() {
    events_->closeButtonClicked();
}

void FormEmbedMessage::CommandHelp_Click() {
    host_.showHelpTopic(QStringLiteral("embmsg.htm"));
}

}  // namespace baldo7
