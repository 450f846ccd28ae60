#include "channels/form_copy_tools.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "channels/channel_record.h"
#include "channels/channel_texts.h"
#include "channels/copy_tools.h"
#include "channels/form_support.h"
#include "core/document.h"
#include "ui/editor_host.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const BiText& text, bool isEnglish) {
    return named(new QLabel(uiText(text, isEnglish), parent), name);
}

QLineEdit* readOnlyBox(QWidget* parent, const char* name) {
    auto* box = named(new QLineEdit(parent), name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

// The action button (OK or Copy), Cancel (or Close) and Help every tool has.
struct CommandButtons {
    QPushButton* action;
    QPushButton* cancel;
    QPushButton* help;
};

CommandButtons commandButtons(QDialog* dialog, EditorHost& host, const char* actionName,
                              const BiText& actionText, const BiText& cancelText,
                              const char* helpTopic, bool isEnglish) {
    auto make = [dialog, isEnglish](const char* name, const BiText& text) {
        auto* b = named(new QPushButton(uiText(text, isEnglish), dialog), name);
        // Enter belongs to the entry boxes, not to a default button.
        b->setAutoDefault(false);
        return b;
    };
    const CommandButtons buttons{make(actionName, actionText), make("CommandCancel", cancelText),
                                 make("CommandHelp", texts::kHelp)};
    QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    const QString topic = QString::fromLatin1(helpTopic);
    QObject::connect(buttons.help, &QPushButton::clicked, dialog,
                     [&host, topic] { host.showHelpTopic(topic); });
    return buttons;
}

QHBoxLayout* buttonRow(const CommandButtons& buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : {buttons.action, buttons.cancel, buttons.help}) row->addWidget(b);
    row->addStretch(1);
    return row;
}

// Frequency and QT/DQT copy: the value shown, the value entered, the buttons.
void layOutTwoFields(QDialog* dialog, QLabel* shownLabel, QLineEdit* shown, QLabel* entryLabel,
                     QWidget* entry, const CommandButtons& buttons) {
    auto* fields = new QGridLayout;
    fields->addWidget(shownLabel, 0, 0);
    fields->addWidget(shown, 0, 1);
    fields->addWidget(entryLabel, 1, 0);
    fields->addWidget(entry, 1, 1);
    shown->setMinimumWidth(twips(1500));
    auto* outer = new QVBoxLayout(dialog);
    outer->addLayout(fields);
    outer->addSpacing(twips(200));
    outer->addLayout(buttonRow(buttons));
}

}  // namespace

// ---- channel copy ----------------------------------------------------------------

FormChannelCopy::FormChannelCopy(Document& doc, EditorHost& host, int row, QWidget* parent)
    : QDialog(parent), doc_(doc), host_(host), source_(row), destination_(row) {
    using namespace channel_texts;
    const bool en = doc_.IsEnglish;
    setObjectName(QStringLiteral("FormChannelCopy"));
    setWindowTitle(uiText(kChannelCopyCaption, en));
    LabelChannelCopy = label(this, "LabelChannelCopy", kChannelCopyLabel, en);
    TextChannelFrom = readOnlyBox(this, "TextChannelFrom");
    TextChannelFrom->setText(QString::number(source_));
    ComboChannelTo = named(new QComboBox(this), "ComboChannelTo");
    for (int k = 1; k <= kChannelCount; ++k) ComboChannelTo->addItem(QString::number(k));
    ComboChannelTo->setCurrentIndex(source_ - 1);
    const CommandButtons buttons =
        commandButtons(this, host_, "CommandCopy", kCopy, texts::kClose, "chcopy.htm", en);
    CommandCopy = buttons.action;
    CommandCancel = buttons.cancel;
    CommandHelp = buttons.help;

    // The label's gap leaves room for the two fields: the destination list starts
    // under "To Channel".
    const QString label = LabelChannelCopy->text();
    int gapEnd = label.indexOf(QLatin1Char(' '));
    while (gapEnd >= 0 && gapEnd < label.size() && label.at(gapEnd) == QLatin1Char(' ')) ++gapEnd;
    const int toColumn = LabelChannelCopy->fontMetrics().horizontalAdvance(label.left(gapEnd));
    TextChannelFrom->setFixedWidth(twips(1000));
    ComboChannelTo->setFixedWidth(twips(1000));
    auto* fields = new QHBoxLayout;
    fields->setSpacing(0);
    fields->addWidget(TextChannelFrom);
    fields->addSpacing(std::max(twips(200), toColumn - twips(1000)));
    fields->addWidget(ComboChannelTo);
    fields->addStretch(1);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(LabelChannelCopy);
    outer->addLayout(fields);
    outer->addSpacing(twips(200));
    outer->addLayout(buttonRow(buttons));

    connect(ComboChannelTo, &QComboBox::activated, this,
            [this](int index) { destination_ = index + 1; });
    connect(CommandCopy, &QPushButton::clicked, this, &FormChannelCopy::CommandCopy_Click);
}

void FormChannelCopy::CommandCopy_Click() {
    // The dialog stays open so that several channels can be filled in turn.
    destination_ = ComboChannelTo->currentIndex() + 1;
    DocumentEdit edit(doc_);
    CopyChannel(doc_.radioImage, source_, destination_);
}

// ---- frequency copy --------------------------------------------------------------

FormFrequencyCopy::FormFrequencyCopy(Document& doc, EditorHost& host, int row, QWidget* parent)
    : QDialog(parent), doc_(doc), host_(host), row_(row) {
    using namespace channel_texts;
    const bool en = doc_.IsEnglish;
    setObjectName(QStringLiteral("FormFrequencyCopy"));
    setWindowTitle(uiText(kFrequencyCopyCaption, en));
    LabelRxFreq = label(this, "LabelRxFreq", kReceive, en);
    TextRxFreq = readOnlyBox(this, "TextRxFreq");
    LabelTxFreq = label(this, "LabelTxFreq", kTransmit, en);
    TextTxFreq = named(new QLineEdit(this), "TextTxFreq");
    const CommandButtons buttons =
        commandButtons(this, host_, "CommandOK", kOk, kCancel, "freqcopy.htm", en);
    CommandOK = buttons.action;
    CommandCancel = buttons.cancel;
    CommandHelp = buttons.help;

    const ChannelView v = DecodeChannel(doc_.radioImage, row_, en, doc_.DecimalSeparator);
    TextRxFreq->setText(uiText(v.rxText));
    TextTxFreq->setText(uiText(v.rxText));
    TextTxFreq->selectAll();

    layOutTwoFields(this, LabelRxFreq, TextRxFreq, LabelTxFreq, TextTxFreq, buttons);

    TextTxFreq->installEventFilter(this);
    TextTxFreq->setFocus();
    connect(CommandOK, &QPushButton::clicked, this, &FormFrequencyCopy::CommandOK_Click);
}

bool FormFrequencyCopy::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TextTxFreq && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnterKey(key)) {
            CommandOK_Click();
            return true;
        }
        return filterFrequencyKey(TextTxFreq, key, doc_.DecimalSeparator);
    }
    return QDialog::eventFilter(watched, event);
}

void FormFrequencyCopy::CommandOK_Click() {
    DocumentEdit edit(doc_);
    const FrequencyCommit result = FrequencyCopy(doc_, row_, TextTxFreq->text().toStdString());
    if (result.warn) warnFrequencyOutOfRange(host_, doc_.IsEnglish);
    TextTxFreq->setText(uiText(result.shownText));
    accept();
}

// ---- QT/DQT copy -----------------------------------------------------------------

FormQtDqtCopy::FormQtDqtCopy(Document& doc, EditorHost& host, int row, QWidget* parent)
    : QDialog(parent), doc_(doc), host_(host), row_(row) {
    using namespace channel_texts;
    const bool en = doc_.IsEnglish;
    setObjectName(QStringLiteral("FormQtDqtCopy"));
    setWindowTitle(uiText(kQtDqtCopyCaption, en));
    LabelDecode = label(this, "LabelDecode", kDecode, en);
    TextDecode = readOnlyBox(this, "TextDecode");
    LabelEncode = label(this, "LabelEncode", kEncode, en);
    ComboEncode = named(new QComboBox(this), "ComboEncode");
    ComboEncode->setEditable(true);
    ComboEncode->setInsertPolicy(QComboBox::NoInsert);
    ComboEncode->setCompleter(nullptr);
    ComboEncode->addItems(uiList(ToneList(en, doc_.DecimalSeparator)));
    const CommandButtons buttons =
        commandButtons(this, host_, "CommandOK", kOk, kCancel, "qtdqtcopy.htm", en);
    CommandOK = buttons.action;
    CommandCancel = buttons.cancel;
    CommandHelp = buttons.help;

    const ChannelView v = DecodeChannel(doc_.radioImage, row_, en, doc_.DecimalSeparator);
    TextDecode->setText(uiText(v.rxToneText));
    ComboEncode->setEditText(uiText(v.rxToneText));
    ComboEncode->lineEdit()->selectAll();

    layOutTwoFields(this, LabelDecode, TextDecode, LabelEncode, ComboEncode, buttons);

    ComboEncode->installEventFilter(this);
    ComboEncode->lineEdit()->installEventFilter(this);
    ComboEncode->setFocus();
    connect(CommandOK, &QPushButton::clicked, this, &FormQtDqtCopy::CommandOK_Click);
}

bool FormQtDqtCopy::eventFilter(QObject* watched, QEvent* event) {
    const bool box = watched == ComboEncode || watched == ComboEncode->lineEdit();
    if (box && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        ComboEncode_LostFocus();
    } else if (box && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnterKey(key)) {
            enterPressed_ = true;
            ComboEncode_LostFocus();
            return true;
        }
        return filterToneKey(ComboEncode->lineEdit(), key, doc_.DecimalSeparator);
    }
    return QDialog::eventFilter(watched, event);
}

void FormQtDqtCopy::ComboEncode_LostFocus() {
    const std::string text = ComboEncode->currentText().toStdString();
    if (text != texts::kNone.en && text != texts::kNone.zh)
        ComboEncode->setEditText(
            uiText(ToneFromText(text, doc_.DecimalSeparator, CtcssFloor::PickList).text));
    if (enterPressed_) {
        enterPressed_ = false;
        ComboEncode->lineEdit()->selectAll();
    }
}

void FormQtDqtCopy::CommandOK_Click() {
    // The text is normalised first, as leaving the box does, so a half-typed code
    // ("D9") stores the code the box then shows.
    ComboEncode_LostFocus();
    DocumentEdit edit(doc_);
    QtDqtCopy(doc_, row_, ComboEncode->currentText().toStdString());
    accept();
}

}  // namespace baldo7
