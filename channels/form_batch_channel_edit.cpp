#include "channels/form_batch_channel_edit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "channels/form_support.h"
#include "core/document.h"
#include "core/pick_lists.h"

namespace baldo7 {

namespace {

constexpr BiText kArea{"Area:", "范围:"};
constexpr BiText kAllChannel{"All Channel", "所有信道"};
// The two boxes sit in the gap between the words.
constexpr BiText kFromTo{"From Channel             To Channel", "从信道                   到信道"};
constexpr BiText kClearOthers{"Clear the data of other channel", "清空选定范围外的信道"};
constexpr BiText kEditSetting{"Edit &Setting", "编辑设定(&S)"};
constexpr BiText kEdit{"&Edit", "编辑(&E)"};
constexpr BiText kRxFreq{"RX Frequency", "接收频率"};
constexpr BiText kRxStartFreq{"Incept Frequency(MHz)", "起始频率(MHz)"};
constexpr BiText kRxStep{"RX Step(KHz)", "接收步进(KHz)"};
constexpr BiText kAsc{"ASC", "递增"};
constexpr BiText kDesc{"DESC", "递减"};
constexpr BiText kTxFreq{"TX Frequency", "发射频率"};
constexpr BiText kDefault{"Default", "默认"};
constexpr BiText kOffset{"Offset(MHz)", "偏移频率(MHz)"};
constexpr BiText kPlus{"Plus", "频偏加"};
constexpr BiText kMinus{"Minus", "频偏减"};
constexpr BiText kTxStart{"Incept(MHz)", "起始频率(MHz)"};
constexpr BiText kTxStep{"TX Step(KHz)", "发射步进(KHz)"};
constexpr BiText kDecode{"CTCSS/DCS Decode", "CTCSS/DCS解码"};
constexpr BiText kEncode{"CTCSS/DCS Encode", "CTCSS/DCS编码"};
constexpr BiText kToneStart{"Incept", "起始信令"};
constexpr BiText kInterval{"Interval", "间隔"};
constexpr BiText kRandom{"Random", "随机"};
constexpr BiText kTxPower{"TX Power", "发射功率"};
constexpr BiText kSpace{"Channel Spacing", "宽窄带"};
constexpr BiText kBusyLock{"Busy Channel Lock-out", "信道繁忙锁定"};
constexpr BiText kScanAdd{"Scan Add", "扫描添加"};
constexpr BiText kReverse{"Reverse", "倒频"};
constexpr BiText kTalkAround{"Talk Around", "脱网"};
constexpr BiText kSelectAll{"Select Al&l", "全选(&L)"};
constexpr BiText kSelectNone{"Select &None", "全不选(&N)"};
constexpr BiText kApply{"&Apply", "应用(&A)"};

constexpr int kRxStepMax = 10000;
constexpr int kTxStepMax = 1000;

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* box(const char* name, int maxLength) {
    auto* b = named(new QLineEdit, name);
    b->setMaxLength(maxLength);
    b->setMinimumWidth(twips(1100));
    return b;
}

// Two exclusive options; the first chosen.
void pair(QWidget* owner, QRadioButton* first, QRadioButton* second) {
    auto* group = new QButtonGroup(owner);
    group->addButton(first);
    group->addButton(second);
    first->setChecked(true);
}

std::string text(const QLineEdit* b) {
    return b->text().toStdString();
}

}  // namespace

FormBatchChannelEdit::FormBatchChannelEdit(Document& doc, EditorHost& host, QWidget* parent)
    : QDialog(parent), doc_(doc), host_(host), random_(std::random_device{}()) {
    setObjectName(QStringLiteral("FormBatchChannelEdit"));
    LabelArea = named(new QLabel, "LabelArea");
    OptionArea[0] = named(new QRadioButton, "OptionArea(0)");
    OptionArea[1] = named(new QRadioButton, "OptionArea(1)");
    OptionArea[0]->setChecked(true);
    TextStartChannel = box("TextStartChannel", KeyFilterMaxLength(4));
    TextEndChannel = box("TextEndChannel", KeyFilterMaxLength(4));
    for (QLineEdit* b : {TextStartChannel, TextEndChannel}) b->setMaximumWidth(twips(700));
    LabelNote = named(new QLabel, "LabelNote");
    LabelRadioHolds = named(new QLabel, "LabelRadioHolds");
    CheckOption = named(new QCheckBox, "CheckOption");
    CommandEdit = named(new QPushButton, "CommandEdit");
    auto* toLabel = named(new QLabel, "LabelToChannel");

    auto* areaRow = new QHBoxLayout;
    areaRow->addWidget(LabelArea);
    areaRow->addWidget(OptionArea[0]);
    areaRow->addSpacing(twips(300));
    areaRow->addWidget(OptionArea[1]);
    areaRow->addWidget(TextStartChannel);
    areaRow->addWidget(toLabel);
    areaRow->addWidget(TextEndChannel);
    areaRow->addStretch(1);
    areaRow->addWidget(CommandEdit);
    auto* noteRow = new QHBoxLayout;
    noteRow->addWidget(CheckOption);
    noteRow->addSpacing(twips(400));
    noteRow->addWidget(LabelNote);
    noteRow->addStretch(1);

    pages = named(new QStackedWidget, "Pages");
    FrameEdit = named(new QWidget, "FrameEdit");
    FrameEditSetting = named(new QWidget, "FrameEditSetting");
    buildEditPage();
    buildSettingPage();
    pages->addWidget(FrameEdit);
    pages->addWidget(FrameEditSetting);

    CommandApply = named(new QPushButton, "CommandApply");
    CommandClose = named(new QPushButton, "CommandClose");
    for (QPushButton* b : {CommandEdit, CommandApply, CommandClose}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CommandApply);
    buttons->addSpacing(twips(600));
    buttons->addWidget(CommandClose);
    buttons->addStretch(1);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(areaRow);
    outer->addLayout(noteRow);
    outer->addWidget(LabelRadioHolds);
    outer->addWidget(pages, 1);
    outer->addLayout(buttons);

    // Load.
    fillTexts();
    const QString from = uiText(kFromTo, doc_.IsEnglish);
    const QStringList words = from.split(QRegularExpression(QStringLiteral("\\s{2,}")));
    OptionArea[1]->setText(words.value(0));
    toLabel->setText(words.value(1));
    TextStartChannel->setText(QStringLiteral("1"));
    TextEndChannel->setText(QString::number(kBatchChannels));
    const QString low =
        QString::fromStdString(BandEdgeText(doc_.BandLowMHz, doc_.DecimalSeparator));
    TextRxStartFreq->setText(low);
    TextTxStartFreq->setText(low);
    OptionArea_Click(0);
    updateEnabling();

    const QList<QLineEdit*> boxes = {TextStartChannel, TextEndChannel, TextRxStartFreq,
                                     TextRxStep,       TextTxOffset,   TextTxStartFreq,
                                     TextTxStep,       TextDecodeStep, TextEncodeStep};
    for (QLineEdit* b : boxes) b->installEventFilter(this);
    for (int i = 0; i < 2; ++i)
        connect(OptionArea[i], &QRadioButton::clicked, this, [this, i] { OptionArea_Click(i); });
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             CheckDecodeRandom, CheckEncodeRandom, CheckEncodeDefault, OptionTxDefault,
             OptionTxOffset, OptionTxStartFreq})
        connect(b, &QAbstractButton::toggled, this, &FormBatchChannelEdit::updateEnabling);
    for (QCheckBox* set : setBoxes())
        connect(set, &QCheckBox::toggled, this, &FormBatchChannelEdit::updateEnabling);
    connect(CommandSelectAll, &QPushButton::clicked, this, [this] {
        for (QCheckBox* set : setBoxes()) set->setChecked(true);
    });
    connect(CommandSelectNone, &QPushButton::clicked, this, [this] {
        for (QCheckBox* set : setBoxes()) set->setChecked(false);
    });
    connect(CommandEdit, &QPushButton::clicked, this, &FormBatchChannelEdit::CommandEdit_Click);
    connect(CommandApply, &QPushButton::clicked, this, &FormBatchChannelEdit::CommandApply_Click);
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { host_.showHelpTopic(QStringLiteral("batchedit.htm")); });
}

void FormBatchChannelEdit::buildEditPage() {
    // Receive frequency.
    FrameRxFreq = named(new QGroupBox, "FrameRxFreq");
    LabelRxStartFreq = named(new QLabel, "LabelRxStartFreq");
    LabelRxStep = named(new QLabel, "LabelRxStep");
    TextRxStartFreq = box("TextRxStartFreq", 9);
    TextRxStep = box("TextRxStep", 6);
    OptionRxStepUp = named(new QRadioButton, "OptionRxStepUp");
    OptionRxStepDown = named(new QRadioButton, "OptionRxStepDown");
    pair(this, OptionRxStepUp, OptionRxStepDown);
    auto* rx = new QGridLayout(FrameRxFreq);
    rx->addWidget(LabelRxStartFreq, 0, 0);
    rx->addWidget(TextRxStartFreq, 0, 1);
    rx->addWidget(LabelRxStep, 1, 0);
    rx->addWidget(TextRxStep, 1, 1);
    rx->addWidget(OptionRxStepUp, 1, 2);
    rx->addWidget(OptionRxStepDown, 1, 3);

    // Transmit frequency.
    FrameTxFreq = named(new QGroupBox, "FrameTxFreq");
    OptionTxDefault = named(new QRadioButton, "OptionTxDefault");
    OptionTxOffset = named(new QRadioButton, "OptionTxOffset");
    OptionTxStartFreq = named(new QRadioButton, "OptionTxStartFreq");
    auto* txModes = new QButtonGroup(this);
    for (QRadioButton* b : {OptionTxDefault, OptionTxOffset, OptionTxStartFreq})
        txModes->addButton(b);
    OptionTxDefault->setChecked(true);
    TextTxOffset = box("TextTxOffset", 8);
    OptionPlus = named(new QRadioButton, "OptionPlus");
    OptionMinus = named(new QRadioButton, "OptionMinus");
    pair(this, OptionPlus, OptionMinus);
    TextTxStartFreq = box("TextTxStartFreq", 9);
    LabelTxStep = named(new QLabel, "LabelTxStep");
    TextTxStep = box("TextTxStep", 6);
    OptionTxStepUp = named(new QRadioButton, "OptionTxStepUp");
    OptionTxStepDown = named(new QRadioButton, "OptionTxStepDown");
    pair(this, OptionTxStepUp, OptionTxStepDown);
    auto* tx = new QGridLayout(FrameTxFreq);
    tx->addWidget(OptionTxDefault, 0, 0);
    tx->addWidget(OptionTxOffset, 1, 0);
    tx->addWidget(TextTxOffset, 1, 1);
    tx->addWidget(OptionPlus, 1, 2);
    tx->addWidget(OptionMinus, 1, 3);
    tx->addWidget(OptionTxStartFreq, 2, 0);
    tx->addWidget(TextTxStartFreq, 2, 1);
    tx->addWidget(LabelTxStep, 3, 0, Qt::AlignRight);
    tx->addWidget(TextTxStep, 3, 1);
    tx->addWidget(OptionTxStepUp, 3, 2);
    tx->addWidget(OptionTxStepDown, 3, 3);

    // Tones: decode, then encode with its Default box.
    auto toneFrame = [this](const char* frame, const char* startLabel, const char* start,
                            const char* stepLabel, const char* step, const char* up,
                            const char* down, QLabel*& LabelStart, QComboBox*& ComboStart,
                            QLabel*& LabelStep, QLineEdit*& TextStep, QRadioButton*& OptionUp,
                            QRadioButton*& OptionDown) {
        auto* g = named(new QGroupBox, frame);
        LabelStart = named(new QLabel, startLabel);
        ComboStart = named(new QComboBox, start);
        ComboStart->setMaxVisibleItems(20);
        LabelStep = named(new QLabel, stepLabel);
        TextStep = box(step, KeyFilterMaxLength(5));
        TextStep->setMaximumWidth(twips(700));
        OptionUp = named(new QRadioButton, up);
        OptionDown = named(new QRadioButton, down);
        pair(this, OptionUp, OptionDown);
        auto* grid = new QGridLayout(g);
        grid->addWidget(LabelStart, 0, 0);
        grid->addWidget(ComboStart, 0, 1, 1, 2);
        grid->addWidget(LabelStep, 1, 0);
        grid->addWidget(TextStep, 1, 1);
        grid->addWidget(OptionUp, 1, 2);
        grid->addWidget(OptionDown, 1, 3);
        return std::make_pair(g, grid);
    };
    auto [decode, decodeGrid] = toneFrame(
        "FrameDecode", "LabelDecodeStart", "ComboDecodeStart", "LabelDecodeStep", "TextDecodeStep",
        "OptionDecodeStepUp", "OptionDecodeStepDown", LabelDecodeStart, ComboDecodeStart,
        LabelDecodeStep, TextDecodeStep, OptionDecodeStepUp, OptionDecodeStepDown);
    FrameDecode = decode;
    CheckDecodeRandom = named(new QCheckBox, "CheckDecodeRandom");
    decodeGrid->addWidget(CheckDecodeRandom, 2, 0);
    auto [encode, encodeGrid] = toneFrame(
        "FrameEncode", "LabelEncodeStart", "ComboEncodeStart", "LabelEncodeStep", "TextEncodeStep",
        "OptionEncodeStepUp", "OptionEncodeStepDown", LabelEncodeStart, ComboEncodeStart,
        LabelEncodeStep, TextEncodeStep, OptionEncodeStepUp, OptionEncodeStepDown);
    FrameEncode = encode;
    CheckEncodeDefault = named(new QCheckBox, "CheckEncodeDefault");
    CheckEncodeDefault->setChecked(true);
    CheckEncodeRandom = named(new QCheckBox, "CheckEncodeRandom");
    encodeGrid->addWidget(CheckEncodeDefault, 2, 0);
    encodeGrid->addWidget(CheckEncodeRandom, 2, 1);

    // One value each.
    LabelTxPower = named(new QLabel, "LabelTxPower");
    LabelSpace = named(new QLabel, "LabelSpace");
    LabelBusyLock = named(new QLabel, "LabelBusyLock");
    ComboTxPower = named(new QComboBox, "ComboTxPower");
    ComboSpace = named(new QComboBox, "ComboSpace");
    ComboBusyLock = named(new QComboBox, "ComboBusyLock");
    CheckScanAdd = named(new QCheckBox, "CheckScanAdd");
    CheckReverse = named(new QCheckBox, "CheckReverse");
    CheckTalkAround = named(new QCheckBox, "CheckTalkAround");
    auto* values = new QGridLayout;
    const std::pair<QLabel*, QComboBox*> lists[] = {
        {LabelTxPower, ComboTxPower}, {LabelSpace, ComboSpace}, {LabelBusyLock, ComboBusyLock}};
    int row = 0;
    for (auto [label, combo] : lists) {
        label->setBuddy(combo);
        values->addWidget(label, row, 0);
        values->addWidget(combo, row, 1);
        ++row;
    }
    values->addWidget(CheckScanAdd, 0, 2);
    values->addWidget(CheckReverse, 1, 2);
    values->addWidget(CheckTalkAround, 2, 2);
    values->setColumnMinimumWidth(1, twips(1500));
    values->setHorizontalSpacing(twips(300));

    auto* grid = new QGridLayout(FrameEdit);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(FrameRxFreq, 0, 0);
    grid->addWidget(FrameDecode, 0, 1);
    grid->addWidget(FrameTxFreq, 1, 0);
    grid->addWidget(FrameEncode, 1, 1);
    grid->addLayout(values, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
}

void FormBatchChannelEdit::buildSettingPage() {
    CheckSetRxFreq = named(new QCheckBox, "CheckSetRxFreq");
    CheckSetTxFreq = named(new QCheckBox, "CheckSetTxFreq");
    CheckSetDecode = named(new QCheckBox, "CheckSetDecode");
    CheckSetEncode = named(new QCheckBox, "CheckSetEncode");
    CheckSetScanAdd = named(new QCheckBox, "CheckSetScanAdd");
    CheckSetReverse = named(new QCheckBox, "CheckSetReverse");
    CheckSetTalkAround = named(new QCheckBox, "CheckSetTalkAround");
    CheckSetTxPower = named(new QCheckBox, "CheckSetTxPower");
    CheckSetSpace = named(new QCheckBox, "CheckSetSpace");
    CheckSetBusyLock = named(new QCheckBox, "CheckSetBusyLock");
    CommandSelectAll = named(new QPushButton, "CommandSelectAll");
    CommandSelectNone = named(new QPushButton, "CommandSelectNone");
    auto* grid = new QGridLayout(FrameEditSetting);
    const QList<QCheckBox*> sets = setBoxes();
    for (int i = 0; i < sets.size(); ++i) {
        sets[i]->setChecked(true);
        grid->addWidget(sets[i], i % 5, i / 5);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandSelectAll);
    buttons->addWidget(CommandSelectNone);
    buttons->addStretch(1);
    grid->addLayout(buttons, 5, 0, 1, 2);
    grid->setRowStretch(6, 1);
}

QList<QCheckBox*> FormBatchChannelEdit::setBoxes() const {
    return {CheckSetRxFreq,  CheckSetTxFreq,     CheckSetDecode,  CheckSetEncode, CheckSetScanAdd,
            CheckSetReverse, CheckSetTalkAround, CheckSetTxPower, CheckSetSpace,  CheckSetBusyLock};
}

void FormBatchChannelEdit::fillTexts() {
    const bool en = doc_.IsEnglish;
    const char sep = doc_.DecimalSeparator;
    auto t = [en](const BiText& b) { return uiText(b, en); };
    setWindowTitle(t(batch_texts::kCaption));
    LabelArea->setText(t(kArea));
    OptionArea[0]->setText(t(kAllChannel));
    CheckOption->setText(t(kClearOthers));
    LabelNote->setText(t(batch_texts::kNote));
    LabelRadioHolds->setText(t(batch_texts::kRadioHolds));
    CommandEdit->setText(t(kEditSetting));
    FrameRxFreq->setTitle(t(kRxFreq));
    LabelRxStartFreq->setText(t(kRxStartFreq));
    LabelRxStep->setText(t(kRxStep));
    FrameTxFreq->setTitle(t(kTxFreq));
    OptionTxDefault->setText(t(kDefault));
    OptionTxOffset->setText(t(kOffset));
    OptionPlus->setText(t(kPlus));
    OptionMinus->setText(t(kMinus));
    OptionTxStartFreq->setText(t(kTxStart));
    LabelTxStep->setText(t(kTxStep));
    for (QRadioButton* b : {OptionRxStepUp, OptionTxStepUp, OptionDecodeStepUp, OptionEncodeStepUp})
        b->setText(t(kAsc));
    for (QRadioButton* b :
         {OptionRxStepDown, OptionTxStepDown, OptionDecodeStepDown, OptionEncodeStepDown})
        b->setText(t(kDesc));
    FrameDecode->setTitle(t(kDecode));
    FrameEncode->setTitle(t(kEncode));
    for (QLabel* l : {LabelDecodeStart, LabelEncodeStart}) l->setText(t(kToneStart));
    for (QLabel* l : {LabelDecodeStep, LabelEncodeStep}) l->setText(t(kInterval));
    CheckDecodeRandom->setText(t(kRandom));
    CheckEncodeRandom->setText(t(kRandom));
    CheckEncodeDefault->setText(t(kDefault));
    LabelTxPower->setText(t(kTxPower));
    LabelSpace->setText(t(kSpace));
    LabelBusyLock->setText(t(kBusyLock));
    CheckScanAdd->setText(t(kScanAdd));
    CheckReverse->setText(t(kReverse));
    CheckTalkAround->setText(t(kTalkAround));
    CheckSetRxFreq->setText(t(kRxFreq));
    CheckSetTxFreq->setText(t(kTxFreq));
    CheckSetDecode->setText(t(kDecode));
    CheckSetEncode->setText(t(kEncode));
    CheckSetScanAdd->setText(t(kScanAdd));
    CheckSetReverse->setText(t(kReverse));
    CheckSetTalkAround->setText(t(kTalkAround));
    CheckSetTxPower->setText(t(kTxPower));
    CheckSetSpace->setText(t(kSpace));
    CheckSetBusyLock->setText(t(kBusyLock));
    CommandSelectAll->setText(t(kSelectAll));
    CommandSelectNone->setText(t(kSelectNone));
    CommandApply->setText(t(kApply));
    CommandClose->setText(t(texts::kClose));

    const QStringList tones = uiList(ToneList(en, sep));
    ComboDecodeStart->addItems(tones);
    ComboEncodeStart->addItems(tones);
    ComboTxPower->addItems(uiList(PowerList(en)));
    ComboSpace->addItems(uiList(SpacingList(en, sep)));
    ComboBusyLock->addItems(uiList(BusyLockList(en)));
    for (QComboBox* c :
         {ComboDecodeStart, ComboEncodeStart, ComboTxPower, ComboSpace, ComboBusyLock})
        c->setCurrentIndex(0);
    for (QLineEdit* b : {TextRxStep, TextTxStep, TextDecodeStep, TextEncodeStep})
        b->setText(QStringLiteral("0"));
    TextTxOffset->setText(QStringLiteral("0") + QChar(sep) + QStringLiteral("00000"));
}

void FormBatchChannelEdit::OptionArea_Click(int index) {
    const bool range = index == 1;
    CheckOption->setEnabled(range);
    TextStartChannel->setEnabled(range);
    TextEndChannel->setEnabled(range);
    if (range) {
        RangeFromBoxes({text(TextStartChannel), text(TextEndChannel)}, rangeStart_, rangeEnd_);
    } else {
        rangeStart_ = 0;
        rangeEnd_ = kBatchChannels - 1;
    }
}

void FormBatchChannelEdit::updateEnabling() {
    const bool decodeSequence = !CheckDecodeRandom->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{ComboDecodeStart, TextDecodeStep,
                                                      OptionDecodeStepUp, OptionDecodeStepDown})
        w->setEnabled(decodeSequence);
    const bool encodeDefault = CheckEncodeDefault->isChecked();
    CheckEncodeRandom->setEnabled(!encodeDefault);
    const bool encodeSequence = !encodeDefault && !CheckEncodeRandom->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{ComboEncodeStart, TextEncodeStep,
                                                      OptionEncodeStepUp, OptionEncodeStepDown})
        w->setEnabled(encodeSequence);
    const bool offset = OptionTxOffset->isChecked();
    const bool incept = OptionTxStartFreq->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{TextTxOffset, OptionPlus, OptionMinus})
        w->setEnabled(offset);
    for (QWidget* w : std::initializer_list<QWidget*>{TextTxStartFreq, TextTxStep, OptionTxStepUp,
                                                      OptionTxStepDown})
        w->setEnabled(incept);

    // The set boxes show the fields they select.
    FrameRxFreq->setVisible(CheckSetRxFreq->isChecked());
    FrameTxFreq->setVisible(CheckSetTxFreq->isChecked());
    FrameDecode->setVisible(CheckSetDecode->isChecked());
    FrameEncode->setVisible(CheckSetEncode->isChecked());
    LabelTxPower->setVisible(CheckSetTxPower->isChecked());
    ComboTxPower->setVisible(CheckSetTxPower->isChecked());
    LabelSpace->setVisible(CheckSetSpace->isChecked());
    ComboSpace->setVisible(CheckSetSpace->isChecked());
    LabelBusyLock->setVisible(CheckSetBusyLock->isChecked());
    ComboBusyLock->setVisible(CheckSetBusyLock->isChecked());
    CheckScanAdd->setVisible(CheckSetScanAdd->isChecked());
    CheckReverse->setVisible(CheckSetReverse->isChecked());
    CheckTalkAround->setVisible(CheckSetTalkAround->isChecked());
}

void FormBatchChannelEdit::CommandEdit_Click() {
    const bool toSettings = pages->currentWidget() == FrameEdit;
    pages->setCurrentWidget(toSettings ? FrameEditSetting : FrameEdit);
    CommandEdit->setText(uiText(toSettings ? kEdit : kEditSetting, doc_.IsEnglish));
}

void FormBatchChannelEdit::lostFocus(QLineEdit* b) {
    const char sep = doc_.DecimalSeparator;
    auto set = [b](const std::string& s) { b->setText(QString::fromStdString(s)); };
    if (b == TextStartChannel || b == TextEndChannel) {
        const ChannelRangeText now{text(TextStartChannel), text(TextEndChannel)};
        const ChannelRangeText r =
            b == TextStartChannel ? StartChannelLostFocus(now) : EndChannelLostFocus(now);
        TextStartChannel->setText(QString::fromStdString(r.start));
        TextEndChannel->setText(QString::fromStdString(r.end));
        RangeFromBoxes(r, rangeStart_, rangeEnd_);
    } else if (b == TextRxStep) {
        set(StepLostFocus(text(b), kRxStepMax, sep));
    } else if (b == TextTxStep) {
        set(StepLostFocus(text(b), kTxStepMax, sep));
    } else if (b == TextTxOffset || b == TextDecodeStep || b == TextEncodeStep) {
        set(StepLostFocus(text(b), 0, sep));
    } else if (b == TextRxStartFreq) {
        set(StartFrequencyLostFocus(text(b), sep, doc_.BandLowMHz, doc_.BandHighMHz));
    } else if (b == TextTxStartFreq) {
        set(StartFrequencyLostFocus(text(b), sep, doc_.BandLowMHz, doc_.BandTxHighMHz));
    }
}

bool FormBatchChannelEdit::eventFilter(QObject* watched, QEvent* event) {
    auto* b = qobject_cast<QLineEdit*>(watched);
    if (!b) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        lostFocus(b);
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnterKey(key)) {
            lostFocus(b);
            return true;
        }
        const int typed = typedCode(key);
        if (typed == 0) return false;
        const int mode = b == TextStartChannel || b == TextEndChannel ? 4
                         : b == TextDecodeStep || b == TextEncodeStep ? 5
                                                                      : 1;
        return applyKeyFilter(
            b, typed, KeyFilter(text(b), b->hasSelectedText(), typed, mode, doc_.DecimalSeparator));
    }
    return QDialog::eventFilter(watched, event);
}

BatchEdit FormBatchChannelEdit::currentEdit() const {
    BatchEdit e;
    e.rangeStart = rangeStart_;
    e.rangeEnd = rangeEnd_;
    e.clearOthers = CheckOption->isEnabled() && CheckOption->isChecked();
    e.setRx = CheckSetRxFreq->isChecked();
    e.setTx = CheckSetTxFreq->isChecked();
    e.setDecode = CheckSetDecode->isChecked();
    e.setEncode = CheckSetEncode->isChecked();
    e.setScanAdd = CheckSetScanAdd->isChecked();
    e.setReverse = CheckSetReverse->isChecked();
    e.setTalkAround = CheckSetTalkAround->isChecked();
    e.setTxPower = CheckSetTxPower->isChecked();
    e.setSpace = CheckSetSpace->isChecked();
    e.setBusyLock = CheckSetBusyLock->isChecked();
    e.rxStart = text(TextRxStartFreq);
    e.rxStep = text(TextRxStep);
    e.rxAscending = OptionRxStepUp->isChecked();
    e.txMode = OptionTxOffset->isChecked()      ? TxFrequencyMode::Offset
               : OptionTxStartFreq->isChecked() ? TxFrequencyMode::Incept
                                                : TxFrequencyMode::Default;
    e.txOffset = text(TextTxOffset);
    e.txPlus = OptionPlus->isChecked();
    e.txStart = text(TextTxStartFreq);
    e.txStep = text(TextTxStep);
    e.txAscending = OptionTxStepUp->isChecked();
    e.decode = {ComboDecodeStart->currentIndex(), TextDecodeStep->text().toInt(),
                OptionDecodeStepUp->isChecked(), CheckDecodeRandom->isChecked()};
    e.encode = {ComboEncodeStart->currentIndex(), TextEncodeStep->text().toInt(),
                OptionEncodeStepUp->isChecked(), CheckEncodeRandom->isChecked()};
    e.encodeDefault = CheckEncodeDefault->isChecked();
    e.txPower = ComboTxPower->currentIndex();
    e.space = ComboSpace->currentIndex();
    e.busyLock = ComboBusyLock->currentIndex();
    e.scanAdd = CheckScanAdd->isChecked();
    e.reverse = CheckReverse->isChecked();
    e.talkAround = CheckTalkAround->isChecked();
    return e;
}

void FormBatchChannelEdit::CommandApply_Click() {
    // A box still being typed in (Alt+A keeps the focus) is corrected first.
    if (auto* b = qobject_cast<QLineEdit*>(focusWidget())) lostFocus(b);
    std::uniform_int_distribution<int> tone(0, kToneListLast);
    const BatchContext context{doc_.DecimalSeparator, doc_.BandLowMHz, doc_.BandHighMHz,
                               doc_.BandTxHighMHz, doc_.IsEnglish};
    const BatchEdit e = currentEdit();
    if (refused(e)) return;
    DocumentEdit edit(doc_);  // the whole range is one undo step
    ApplyBatchEdit(doc_.radioImage, e, context, [&] { return tone(random_); });
}

bool FormBatchChannelEdit::refused(const BatchEdit& e) {
    const bool en = doc_.IsEnglish;
    QString text;
    QLineEdit* box = nullptr;
    const auto tooFine = [&](QLineEdit* b, const QString& label) {
        box = b;
        text = uiText(batch_texts::kStepTooFine, en).arg(label, b->text());
    };
    switch (CheckBatchEdit(e, doc_.DecimalSeparator)) {
        case BatchRefusal::None:
            return false;
        case BatchRefusal::RangeNotHere:
            text = uiText(batch_texts::kRangeNotHere, en).arg(e.rangeStart + 1).arg(e.rangeEnd + 1);
            break;
        case BatchRefusal::RxStepTooFine:
            tooFine(TextRxStep, LabelRxStep->text());
            break;
        case BatchRefusal::TxStepTooFine:
            tooFine(TextTxStep, LabelTxStep->text());
            break;
        case BatchRefusal::OffsetTooFine:
            tooFine(TextTxOffset, OptionTxOffset->text());
            break;
    }
    host_.messages().show(MsgIcon::Warning, appTitle(), text);
    if (box) {
        box->setFocus();
        box->selectAll();
    }
    return true;
}

}  // namespace baldo7
