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
#include "channels/form_key_entry.h"
#include "core/document.h"
#include "shell/editor_host.h"
#include "shell/ui_support.h"

namespace baldo7 {

namespace {

QPushButton* button(QWidget* parent, const char* name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    // Enter belongs to the entry boxes, not to a default button.
    b->setAutoDefault(false);
    return b;
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons) row->addWidget(b);
    row->addStretch(1);
    return row;
}

QLineEdit* readOnlyBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

}  // namespace

// ---- channel copy ----------------------------------------------------------------

FormChannelCopy::FormChannelCopy(Document& doc, EditorHost& host, int row, QWidget* parent)
    : QDialog(parent), doc_(doc), host_(host), source_(row), destination_(row) {
    using namespace channel_texts;
    const bool en = doc_.IsEnglish;
    setObjectName(QStringLiteral("FormChannelCopy"));
    setWindowTitle(uiText(kChannelCopyCaption, en));
    LabelChannelCopy = new QLabel(uiText(kChannelCopyLabel, en), this);
    LabelChannelCopy->setObjectName(QStringLiteral("LabelChannelCopy"));
    TextChannelFrom = readOnlyBox(this, "TextChannelFrom");
    TextChannelFrom->setText(QString::number(source_));
    ComboChannelTo = new QComboBox(this);
    ComboChannelTo->setObjectName(QStringLiteral("ComboChannelTo"));
    for (int k = 1; k <= kChannelCount; ++k) ComboChannelTo->addItem(QString::number(k));
    ComboChannelTo->setCurrentIndex(source_ - 1);
    CommandCopy = button(this, "CommandCopy");
    CommandCopy->setText(uiText(kCopy, en));
    CommandCancel = button(this, "CommandCancel");
    CommandCancel->setText(uiText(texts::kClose, en));
    CommandHelp = button(this, "CommandHelp");
    CommandHelp->setText(uiText(texts::kHelp, en));

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
    outer->addLayout(buttonRow({CommandCopy, CommandCancel, CommandHelp}));

    connect(ComboChannelTo, &QComboBox::activated, this,
            [this](int index) { destination_ = index + 1; });
    connect(CommandCopy, &QPushButton::clicked, this, &FormChannelCopy::CommandCopy_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(CommandHelp, &QPushButton::clicked, this,
            [this] { host_.showHelpTopic(QStringLiteral("chcopy.htm")); });
}

void FormChannelCopy::CommandCopy_Click() {
    // The dialog stays open so that several channels can be filled in turn.
    destination_ = ComboChannelTo->currentIndex() + 1;
    if (CopyChannel(doc_.radioImage, source_, destination_)) doc_.DialogChanged = true;
}

// ---- frequency copy --------------------------------------------------------------

FormFrequencyCopy::FormFrequencyCopy(Document& doc, EditorHost& host, int row, QWidget* parent)
    : QDialog(parent), doc_(doc), host_(host), row_(row) {
    using namespace channel_texts;
    const bool en = doc_.IsEnglish;
    setObjectName(QStringLiteral("FormFrequencyCopy"));
    setWindowTitle(uiText(kFrequencyCopyCaption, en));
    LabelRxFreq = new QLabel(uiText(kReceive, en), this);
    LabelRxFreq->setObjectName(QStringLiteral("LabelRxFreq"));
    TextRxFreq = readOnlyBox(this, "TextRxFreq");
    LabelTxFreq = new QLabel(uiText(kTransmit, en), this);
    LabelTxFreq->setObjectName(QStringLiteral("LabelTxFreq"));
    TextTxFreq = new QLineEdit(this);
    TextTxFreq->setObjectName(QStringLiteral("TextTxFreq"));
    CommandOK = button(this, "CommandOK");
    CommandOK->setText(uiText(kOk, en));
    CommandCancel = button(this, "CommandCancel");
    CommandCancel->setText(uiText(kCancel, en));
    CommandHelp = button(this, "CommandHelp");
    CommandHelp->setText(uiText(texts::kHelp, en));

    const ChannelView v = DecodeChannel(doc_.radioImage, row_, en, doc_.DecimalSeparator);
    TextRxFreq->setText(uiText(v.rxText));
    TextTxFreq->setText(uiText(v.rxText));
    TextTxFreq->selectAll();

    auto* fields = new QGridLayout;
    fields->addWidget(LabelRxFreq, 0, 0);
    fields->addWidget(TextRxFreq, 0, 1);
    fields->addWidget(LabelTxFreq, 1, 0);
    fields->addWidget(TextTxFreq, 1, 1);
    TextRxFreq->setMinimumWidth(twips(1500));
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(fields);
    outer->addSpacing(twips(200));
    outer->addLayout(buttonRow({CommandOK, CommandCancel, CommandHelp}));

    TextTxFreq->installEventFilter(this);
    TextTxFreq->setFocus();
    connect(CommandOK, &QPushButton::clicked, this, &FormFrequencyCopy::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(CommandHelp, &QPushButton::clicked, this,
            [this] { host_.showHelpTopic(QStringLiteral("freqcopy.htm")); });
}

bool FormFrequencyCopy::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TextTxFreq && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnterKey(key)) {
            CommandOK_Click();
            return true;
        }
        const int typed = typedCode(key);
        if (typed == 0) return false;
        const int allowed =
            KeyFilter(TextTxFreq->text().toStdString(), TextTxFreq->hasSelectedText(), typed, 1,
                      doc_.DecimalSeparator);
        return applyKeyFilter(TextTxFreq, typed, allowed);
    }
    return QDialog::eventFilter(watched, event);
}

void FormFrequencyCopy::CommandOK_Click() {
    const FrequencyCommit result = FrequencyCopy(doc_, row_, TextTxFreq->text().toStdString());
    if (result.warn) {
        host_.messages().show(MsgIcon::Warning, appTitle(),
                              uiText(texts::kFrequencyOutOfRange, doc_.IsEnglish));
    }
    TextTxFreq->setText(uiText(result.shownText));
    doc_.DialogChanged = true;
    accept();
}

// ---- QT/DQT copy -----------------------------------------------------------------

FormQtDqtCopy::FormQtDqtCopy(Document& doc, EditorHost& host, int row, QWidget* parent)
    : QDialog(parent), doc_(doc), host_(host), row_(row) {
    using namespace channel_texts;
    const bool en = doc_.IsEnglish;
    setObjectName(QStringLiteral("FormQtDqtCopy"));
    setWindowTitle(uiText(kQtDqtCopyCaption, en));
    LabelDecode = new QLabel(uiText(kDecode, en), this);
    LabelDecode->setObjectName(QStringLiteral("LabelDecode"));
    TextDecode = readOnlyBox(this, "TextDecode");
    LabelEncode = new QLabel(uiText(kEncode, en), this);
    LabelEncode->setObjectName(QStringLiteral("LabelEncode"));
    ComboEncode = new QComboBox(this);
    ComboEncode->setObjectName(QStringLiteral("ComboEncode"));
    ComboEncode->setEditable(true);
    ComboEncode->setInsertPolicy(QComboBox::NoInsert);
    ComboEncode->setCompleter(nullptr);
    ComboEncode->addItems(uiList(ToneList(en, doc_.DecimalSeparator)));
    CommandOK = button(this, "CommandOK");
    CommandOK->setText(uiText(kOk, en));
    CommandCancel = button(this, "CommandCancel");
    CommandCancel->setText(uiText(kCancel, en));
    CommandHelp = button(this, "CommandHelp");
    CommandHelp->setText(uiText(texts::kHelp, en));

    const ChannelView v = DecodeChannel(doc_.radioImage, row_, en, doc_.DecimalSeparator);
    TextDecode->setText(uiText(v.rxToneText));
    ComboEncode->setEditText(uiText(v.rxToneText));
    ComboEncode->lineEdit()->selectAll();

    auto* fields = new QGridLayout;
    fields->addWidget(LabelDecode, 0, 0);
    fields->addWidget(TextDecode, 0, 1);
    fields->addWidget(LabelEncode, 1, 0);
    fields->addWidget(ComboEncode, 1, 1);
    TextDecode->setMinimumWidth(twips(1500));
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(fields);
    outer->addSpacing(twips(200));
    outer->addLayout(buttonRow({CommandOK, CommandCancel, CommandHelp}));

    ComboEncode->installEventFilter(this);
    ComboEncode->lineEdit()->installEventFilter(this);
    ComboEncode->setFocus();
    connect(CommandOK, &QPushButton::clicked, this, &FormQtDqtCopy::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(CommandHelp, &QPushButton::clicked, this,
            [this] { host_.showHelpTopic(QStringLiteral("qtdqtcopy.htm")); });
}

bool FormQtDqtCopy::eventFilter(QObject* watched, QEvent* event) {
    const bool box = watched == ComboEncode || watched == ComboEncode->lineEdit();
    if (box && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        ComboEncode_LostFocus();
    } else if (box && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        QLineEdit* edit = ComboEncode->lineEdit();
        if (isEnterKey(key)) {
            enterPressed_ = true;
            ComboEncode_LostFocus();
            return true;
        }
        const int typed = typedCode(key);
        if (typed == 0) return false;
        const int allowed = ToneKeyFilter(edit->text().toStdString(), edit->hasSelectedText(),
                                          typed, doc_.DecimalSeparator, false);
        return applyKeyFilter(edit, typed, allowed);
    }
    return QDialog::eventFilter(watched, event);
}

void FormQtDqtCopy::ComboEncode_LostFocus() {
    const std::string text = ComboEncode->currentText().toStdString();
    if (text != texts::kNone.en && text != texts::kNone.zh)
        ComboEncode->setEditText(uiText(ToneFromText(text, doc_.DecimalSeparator).text));
    if (enterPressed_) {
        enterPressed_ = false;
        ComboEncode->lineEdit()->selectAll();
    }
}

void FormQtDqtCopy::CommandOK_Click() {
    // The text is normalised first, as leaving the box does, so a half-typed code
    // ("D9") stores the code the box then shows.
    ComboEncode_LostFocus();
    QtDqtCopy(doc_, row_, ComboEncode->currentText().toStdString());
    doc_.DialogChanged = true;
    accept();
}

}  // namespace baldo7
