#include "channels/form_channel_edit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "channels/channel_record.h"
#include "channels/channel_texts.h"
#include "channels/form_support.h"
#include "channels/frequency_entry.h"
#include "channels/tone_entry.h"
#include "core/codecs.h"
#include "core/document.h"
#include "core/pick_lists.h"
#include "ui/editor_host.h"
#include "ui/editor_window_events.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr int kWidthTwips = 7155;
constexpr int kHeightTwips = 6390;

namespace t = channel_texts::edit;

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

FormChannelEdit::FormChannelEdit(Document& doc, EditorHost& host, QWidget* parent)
    : QWidget(parent), doc_(doc), host_(host), state_(host.state()) {
    setObjectName(QStringLiteral("FormChannelEdit"));
    LabelChannel = named(new QLabel, "LabelChannel");
    ComboChannel = named(new QComboBox, "ComboChannel");
    LabelRxFreq = named(new QLabel, "LabelRxFreq");
    TextRxFreq = named(new QLineEdit, "TextRxFreq");
    LabelTxFreq = named(new QLabel, "LabelTxFreq");
    TextTxFreq = named(new QLineEdit, "TextTxFreq");
    LabelDecode = named(new QLabel, "LabelDecode");
    ComboDecode = named(new QComboBox, "ComboDecode");
    LabelEncode = named(new QLabel, "LabelEncode");
    ComboEncode = named(new QComboBox, "ComboEncode");
    LabelTxPower = named(new QLabel, "LabelTxPower");
    ComboTxPower = named(new QComboBox, "ComboTxPower");
    LabelSpace = named(new QLabel, "LabelSpace");
    ComboSpace = named(new QComboBox, "ComboSpace");
    LabelBusyLock = named(new QLabel, "LabelBusyLock");
    ComboBusyLock = named(new QComboBox, "ComboBusyLock");
    LabelScrambleType = named(new QLabel, "LabelScrambleType");
    ComboScrambleType = named(new QComboBox, "ComboScrambleType");
    LabelCdcssMode = named(new QLabel, "LabelCdcssMode");
    ComboCdcssMode = named(new QComboBox, "ComboCdcssMode");
    CheckScanAdd = named(new QCheckBox, "CheckScanAdd");
    CheckReverse = named(new QCheckBox, "CheckReverse");
    CheckTalkAround = named(new QCheckBox, "CheckTalkAround");
    CheckScramble = named(new QCheckBox, "CheckScramble");
    CheckCompand = named(new QCheckBox, "CheckCompand");
    CommandClose = named(new QPushButton, "CommandClose");
    CommandHelp = named(new QPushButton, "CommandHelp");

    for (QLineEdit* box : {TextRxFreq, TextTxFreq}) {
        box->setMaxLength(KeyFilterMaxLength(1));
        box->installEventFilter(this);
    }
    for (QComboBox* combo : {ComboDecode, ComboEncode}) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // Inline completion would turn a typed "D0" into a list entry.
        combo->setCompleter(nullptr);
        combo->installEventFilter(this);
    }

    auto* fields = new QGridLayout;
    const std::pair<QLabel*, QWidget*> rows[] = {{LabelChannel, ComboChannel},
                                                 {LabelRxFreq, TextRxFreq},
                                                 {LabelTxFreq, TextTxFreq},
                                                 {LabelDecode, ComboDecode},
                                                 {LabelEncode, ComboEncode},
                                                 {LabelTxPower, ComboTxPower},
                                                 {LabelSpace, ComboSpace},
                                                 {LabelBusyLock, ComboBusyLock},
                                                 {LabelScrambleType, ComboScrambleType},
                                                 {LabelCdcssMode, ComboCdcssMode}};
    int row = 0;
    for (auto [label, control] : rows) {
        label->setBuddy(control);
        fields->addWidget(label, row, 0);
        fields->addWidget(control, row, 1);
        ++row;
    }
    fields->setColumnStretch(1, 1);
    auto* checks = new QGridLayout;
    // Two rows of boxes: the window is wider than high.
    checks->addWidget(CheckScanAdd, 0, 0);
    checks->addWidget(CheckReverse, 0, 1);
    checks->addWidget(CheckTalkAround, 0, 2);
    checks->addWidget(CheckScramble, 1, 0);
    checks->addWidget(CheckCompand, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CommandClose);
    buttons->addSpacing(twips(450));
    buttons->addWidget(CommandHelp);
    buttons->addStretch(1);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(fields);
    outer->addSpacing(twips(120));
    outer->addLayout(checks);
    outer->addStretch(1);
    outer->addLayout(buttons);

    // Load.
    state_.FormChannelEditOpen = true;
    resize(FormChannelEdit::sizeHint());
    fillTexts();
    AnalyseOneChannel();

    connect(ComboChannel, &QComboBox::activated, this, &FormChannelEdit::ComboChannel_Click);
    connect(ComboDecode, &QComboBox::activated, this,
            [this](int index) { ComboTone_Click(ComboDecode, index); });
    connect(ComboEncode, &QComboBox::activated, this,
            [this](int index) { ComboTone_Click(ComboEncode, index); });
    connect(ComboBusyLock, &QComboBox::activated, this, &FormChannelEdit::ComboBusyLock_Click);
    connect(ComboCdcssMode, &QComboBox::activated, this, &FormChannelEdit::ComboCdcssMode_Click);
    connect(CheckReverse, &QCheckBox::clicked, this, &FormChannelEdit::CheckReverse_Click);
    connect(CheckTalkAround, &QCheckBox::clicked, this, &FormChannelEdit::CheckTalkAround_Click);
    // The controls that write one field of the channel shown and nothing else.
    const struct {
        QComboBox* combo;
        void (*set)(RadioImage&, int, int);
    } listFields[] = {
        {ComboTxPower, SetTxPower}, {ComboSpace, SetSpacing}, {ComboScrambleType, SetScrambleType}};
    for (const auto& field : listFields) {
        connect(field.combo, &QComboBox::activated, this, [this, set = field.set](int index) {
            if (decoding_ || index < 0) return;
            set(doc_.radioImage, channel(), index);
            changed();
        });
    }
    const struct {
        QCheckBox* box;
        void (*set)(RadioImage&, int, bool);
    } checkFields[] = {
        {CheckScanAdd, SetScanAddBit}, {CheckScramble, SetScrambleOn}, {CheckCompand, SetCompand}};
    for (const auto& field : checkFields) {
        connect(field.box, &QCheckBox::clicked, this, [this, set = field.set](bool ticked) {
            if (decoding_) return;
            set(doc_.radioImage, channel(), ticked);
            changed();
        });
    }
    connect(CommandClose, &QPushButton::clicked, this, [this] {
        state_.FormChannelEditOpen = false;
        events_->closeHostWindow();
    });
    connect(CommandHelp, &QPushButton::clicked, this,
            [this] { host_.showHelpTopic(QStringLiteral("chEdit.htm")); });
    // Another window's change, an undo, a read, or the grid moving to another channel.
    observation_ = std::make_unique<DocumentObservation>(doc_, [this](const DocumentChange& c) {
        if (!storing_ && c.origin != this && c.touches(0, kImageSize)) follow();
    });
    connect(&state_, &AppState::currentRowChanged, this, [this](int row) {
        if (row != shown_) follow();
    });

    events_ = new EditorWindowEvents(this, state_);
}

QSize FormChannelEdit::sizeHint() const {
    return formSizeOfWindow(kWidthTwips, kHeightTwips);
}

int FormChannelEdit::channel() const {
    return shown_;
}

void FormChannelEdit::follow() {
    // A redraw would throw away what is being typed; it waits for the commit.
    if (decoding_ || unloaded_) return;
    if (typingUncommitted()) {
        redrawPending_ = true;
        return;
    }
    AnalyseOneChannel();
}

void FormChannelEdit::changed() {
    // The end of a user action; a decode's own writes join the next one.
    if (decoding_) return;
    storing_ = true;
    doc_.commitChange();
    storing_ = false;
    if (redrawPending_) AnalyseOneChannel();
}

void FormChannelEdit::fillTexts() {
    const bool en = doc_.IsEnglish;
    setWindowTitle(uiText(t::kCaption, en));
    LabelChannel->setText(uiText(t::kChannel, en));
    LabelRxFreq->setText(uiText(t::kRxFreq, en));
    LabelTxFreq->setText(uiText(t::kTxFreq, en));
    LabelDecode->setText(uiText(t::kDecode, en));
    LabelEncode->setText(uiText(t::kEncode, en));
    LabelTxPower->setText(uiText(t::kTxPower, en));
    LabelSpace->setText(uiText(t::kSpace, en));
    LabelBusyLock->setText(uiText(t::kBusyLock, en));
    LabelScrambleType->setText(uiText(t::kScrambleType, en));
    LabelCdcssMode->setText(uiText(t::kCdcssMode, en));
    CheckScanAdd->setText(uiText(t::kScanAdd, en));
    CheckReverse->setText(uiText(t::kReverse, en));
    CheckTalkAround->setText(uiText(t::kTalkAround, en));
    CheckScramble->setText(uiText(t::kScramble, en));
    CheckCompand->setText(uiText(t::kCompand, en));
    CommandClose->setText(uiText(texts::kClose, en));
    CommandHelp->setText(uiText(texts::kHelp, en));
    for (int i = 1; i <= kChannelCount; ++i) ComboChannel->addItem(QString::number(i));
    fillCdcssModeList();
}

void FormChannelEdit::fillCdcssModeList() {
    ComboCdcssMode->clear();
    ComboCdcssMode->addItem(uiText(t::kNormalCode, doc_.IsEnglish));
    if (doc_.SpecialCodeSupported) ComboCdcssMode->addItem(uiText(t::kSpecialCode, doc_.IsEnglish));
}

void FormChannelEdit::showTone(QComboBox* combo, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    const int index = combo->findText(shown);
    combo->setCurrentIndex(index);
    combo->setEditText(shown);
}

void FormChannelEdit::AnalyseOneChannel() {
    decoding_ = true;
    redrawPending_ = false;
    const RadioImage before = doc_.radioImage;
    const int row = state_.currentRow();
    shown_ = row >= 1 && row <= kChannelCount ? row : 1;
    const int ch = shown_;
    const bool en = doc_.IsEnglish;
    const char sep = doc_.DecimalSeparator;
    ComboChannel->setCurrentIndex(ch - 1);

    QComboBox* const lists[] = {ComboDecode, ComboEncode,   ComboTxPower,
                                ComboSpace,  ComboBusyLock, ComboScrambleType};
    QCheckBox* const checks[] = {CheckScanAdd, CheckReverse, CheckTalkAround, CheckScramble,
                                 CheckCompand};
    TextRxFreq->clear();
    TextTxFreq->clear();
    TextTxFreq->setEnabled(false);
    for (QComboBox* combo : lists) {
        combo->clear();
        combo->setEnabled(false);
    }
    for (QCheckBox* box : checks) {
        box->setChecked(false);
        box->setEnabled(false);
    }
    ComboCdcssMode->setEnabled(false);
    // The radio's capability may have changed with a read since the list was filled.
    if (ComboCdcssMode->count() != (doc_.SpecialCodeSupported ? 2 : 1)) fillCdcssModeList();
    // Shows nothing for an empty channel rather than the last channel's mode.
    ComboCdcssMode->setCurrentIndex(-1);

    const ChannelView v = DisplayChannel(doc_, ch);
    if (v.inUse) {
        TextRxFreq->setText(QString::fromStdString(v.rxText));
        TextTxFreq->setEnabled(true);
        for (QComboBox* combo : lists) combo->setEnabled(true);
        for (QCheckBox* box : checks) box->setEnabled(true);
        ComboCdcssMode->setEnabled(true);
        ComboSpace->addItems(uiList(SpacingList(en, sep)));
        ComboBusyLock->addItems(uiList(BusyLockList(en)));
        ComboTxPower->addItems(uiList(PowerList(en)));
        const QStringList tones = uiList(ToneList(en, sep));
        ComboDecode->addItems(tones);
        ComboScrambleType->addItems(uiList(ScrambleTypeList()));

        if (!v.txInUse) {
            CheckReverse->setEnabled(false);
            ComboEncode->setEnabled(false);
        } else {
            TextTxFreq->setText(QString::fromStdString(PadFrequencyText(v.txText, sep)));
            ComboEncode->addItems(tones);
        }
        showTone(ComboDecode, v.rxToneText);
        if (!TextTxFreq->text().isEmpty()) showTone(ComboEncode, v.txToneText);

        ComboTxPower->setCurrentIndex(v.powerIndex);
        ComboSpace->setCurrentIndex(v.spacingIndex);
        ComboScrambleType->setCurrentIndex(v.scrambleTypeIndex);
        ComboBusyLock->setCurrentIndex(v.busyLockIndex);
        CheckScanAdd->setChecked(v.scanAdd);
        CheckScramble->setChecked(v.scrambleOn);
        CheckCompand->setChecked(v.compand);
        if (doc_.SpecialCodeSupported) {
            ComboCdcssMode->setCurrentIndex(v.cdcssModeIndex);
        } else {
            ComboCdcssMode->setCurrentIndex(0);
            SetCdcssMode(doc_, ch, 0);
        }
    }
    // The decode's own writes (scan bit of an empty channel, special code the radio
    // lacks) are changes the grid must show too; they join the next step.
    if (doc_.radioImage != before) doc_.announce({0, kImageSize, this});
    // What the boxes show is what is stored (clearing a box counts as typing).
    for (QLineEdit* box : typedBoxes()) box->setModified(false);
    decoding_ = false;
}

bool FormChannelEdit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == TextRxFreq || watched == TextTxFreq)
            return frequencyKey(static_cast<QLineEdit*>(watched), key);
        if (watched == ComboDecode || watched == ComboEncode)
            return toneKey(static_cast<QComboBox*>(watched), key);
    } else if (event->type() == QEvent::FocusIn &&
               (watched == ComboDecode || watched == ComboEncode)) {
        // Typing replaces the tone, as in the frequency boxes. After the click that
        // gave the focus, which would otherwise place the cursor.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            QTimer::singleShot(0, static_cast<QComboBox*>(watched)->lineEdit(),
                               &QLineEdit::selectAll);
    } else if (event->type() == QEvent::FocusOut) {
        // Leaving a box commits what was typed; a box merely passed through keeps its
        // bytes, and opening the tone list is no leaving.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if ((watched == TextRxFreq || watched == TextTxFreq) &&
            static_cast<QLineEdit*>(watched)->isModified())
            commitFrequency(static_cast<QLineEdit*>(watched));
        if ((watched == ComboDecode || watched == ComboEncode) && reason != Qt::PopupFocusReason) {
            auto* combo = static_cast<QComboBox*>(watched);
            if (combo->lineEdit()->isModified()) commitTone(combo, false);
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool FormChannelEdit::frequencyKey(QLineEdit* box, QKeyEvent* key) {
    if (isEnterKey(key)) {
        commitFrequency(box);
        return true;
    }
    return filterFrequencyKey(box, key, doc_.DecimalSeparator);
}

bool FormChannelEdit::toneKey(QComboBox* combo, QKeyEvent* key) {
    if (isEnterKey(key)) {
        commitTone(combo, true);
        return true;
    }
    return filterToneKey(combo->lineEdit(), key, doc_.DecimalSeparator);
}

void FormChannelEdit::commitFrequency(QLineEdit* box) {
    if (decoding_) return;
    const std::string text = box->text().toStdString();
    // This window shows no encode tone without a transmit side, so one typed in
    // starts with none.
    const bool encodeBlank = ComboEncode->currentText().isEmpty();
    const FrequencyCommit r = box == TextRxFreq ? CommitRxFrequency(doc_, channel(), text)
                                                : CommitTxFrequency(doc_, channel(), text);
    if (r.ignored) return;
    if (box == TextTxFreq && encodeBlank && !r.cleared)
        SetTxTone(doc_.radioImage, channel(), kNoTone);
    if (r.warn) warnFrequencyOutOfRange(host_, doc_.IsEnglish);
    AnalyseOneChannel();
    changed();
}

void FormChannelEdit::commitTone(QComboBox* combo, bool byEnter) {
    if (decoding_ || !combo->isEnabled()) return;
    const ToneEntry entry =
        ToneFromText(combo->lineEdit()->text().toStdString(), doc_.DecimalSeparator);
    writeTone(combo, entry.code);
    decoding_ = true;
    showTone(combo, entry.text);
    decoding_ = false;
    if (byEnter) combo->lineEdit()->selectAll();
    changed();
}

void FormChannelEdit::ComboChannel_Click(int index) {
    if (decoding_ || index < 0) return;
    // The grid follows; this window redraws as it hears of it.
    state_.setCurrentRow(index + 1);
    changed();
}

void FormChannelEdit::ComboTone_Click(QComboBox* combo, int index) {
    if (decoding_ || index < 0) return;
    const ToneCode code =
        ToneFromListIndex(index, combo->itemText(index).toStdString(), doc_.DecimalSeparator);
    writeTone(combo, code);
    changed();
}

void FormChannelEdit::writeTone(QComboBox* combo, ToneCode code) {
    if (combo == ComboDecode)
        SetRxTone(doc_.radioImage, channel(), code);
    else
        SetTxTone(doc_.radioImage, channel(), code);
}

void FormChannelEdit::ComboBusyLock_Click(int index) {
    if (decoding_ || index < 0) return;
    SetBusyLock(doc_.radioImage, channel(), index);
    // The two boxes live in these bits; a busy lock choice overrides them.
    CheckReverse->setChecked(false);
    CheckTalkAround->setChecked(false);
    changed();
}

void FormChannelEdit::ComboCdcssMode_Click(int index) {
    if (decoding_ || index < 0) return;
    SetCdcssMode(doc_, channel(), index);
    changed();
}

void FormChannelEdit::refreshBusyLock() {
    decoding_ = true;
    ComboBusyLock->setCurrentIndex(
        DecodeChannel(doc_.radioImage, channel(), doc_.IsEnglish, doc_.DecimalSeparator)
            .busyLockIndex);
    decoding_ = false;
}

void FormChannelEdit::CheckReverse_Click(bool ticked) {
    reverseOrTalkAround(CheckReverse, ticked);
}

void FormChannelEdit::CheckTalkAround_Click(bool ticked) {
    reverseOrTalkAround(CheckTalkAround, ticked);
}

void FormChannelEdit::reverseOrTalkAround(QCheckBox* box, bool ticked) {
    if (decoding_) return;
    const bool reverse = box == CheckReverse;
    (reverse ? SetReverse : SetTalkAround)(doc_.radioImage, channel(), ticked);
    // The two share the busy lock bits: ticking one unticks the other.
    if (ticked) (reverse ? CheckTalkAround : CheckReverse)->setChecked(false);
    refreshBusyLock();
    changed();
}

std::array<QLineEdit*, 4> FormChannelEdit::typedBoxes() const {
    return {TextRxFreq, TextTxFreq, ComboDecode->lineEdit(), ComboEncode->lineEdit()};
}

bool FormChannelEdit::typingUncommitted() const {
    for (const QLineEdit* box : typedBoxes())
        if (box->isModified()) return true;
    return false;
}

void FormChannelEdit::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        state_.FormChannelEditOpen = false;
    }
    QWidget::closeEvent(event);
}

}  // namespace baldo7
