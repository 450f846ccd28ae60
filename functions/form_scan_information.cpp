#include "functions/form_scan_information.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/document.h"
#include "functions/scan_information.h"
#include "ui/editor_host.h"
#include "ui/editor_window_events.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
template <typename W>
W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}
}  // namespace

FormScanInformation::FormScanInformation(Document& doc, EditorHost& host, QWidget* parent)
    : QWidget(parent), doc_(doc), host_(host) {
    setObjectName(QStringLiteral("FormScanInformation"));
    ComboPriority = named(new QComboBox, QStringLiteral("ComboPriority"));
    LabelPriority = named(new QLabel, QStringLiteral("LabelPriority"));
    ComboRevertChannel = named(new QComboBox, QStringLiteral("ComboRevertChannel"));
    LabelRevertChannel = named(new QLabel, QStringLiteral("LabelRevertChannel"));
    for (int i = 0; i < 2; ++i) {
        ComboScanBackTime[i] = named(new QComboBox, QStringLiteral("ComboScanBackTime(%1)").arg(i));
        LabelScanBackTime[i] = named(new QLabel, QStringLiteral("LabelScanBackTime(%1)").arg(i));
        ComboScanDelay[i] = named(new QComboBox, QStringLiteral("ComboScanDelay(%1)").arg(i));
        LabelRevertScanDelay[i] =
            named(new QLabel, QStringLiteral("LabelRevertScanDelay(%1)").arg(i));
    }
    for (int k = 0; k < kPrioritySlots; ++k) {
        ComboPriorityChannel[k] =
            named(new QComboBox, QStringLiteral("ComboPriorityChannel(%1)").arg(k));
        LabelPriorityChannel[k] =
            named(new QLabel, QStringLiteral("LabelPriorityChannel(%1)").arg(k));
    }
    CommandClose = named(new QPushButton, QStringLiteral("CommandClose"));
    CommandHelp = named(new QPushButton, QStringLiteral("CommandHelp"));

    // Scan settings on the left, the priority channel slots on the right.
    auto* settings = new QGridLayout;
    const std::pair<QLabel*, QComboBox*> rows[] = {{LabelPriority, ComboPriority},
                                                   {LabelScanBackTime[0], ComboScanBackTime[0]},
                                                   {LabelScanBackTime[1], ComboScanBackTime[1]},
                                                   {LabelRevertChannel, ComboRevertChannel},
                                                   {LabelRevertScanDelay[0], ComboScanDelay[0]},
                                                   {LabelRevertScanDelay[1], ComboScanDelay[1]}};
    int row = 0;
    for (auto [label, combo] : rows) {
        label->setBuddy(combo);
        combo->setMinimumWidth(twips(2200));
        settings->addWidget(label, row, 0);
        settings->addWidget(combo, row, 1);
        ++row;
    }
    settings->setRowStretch(row, 1);
    auto* slotGrid = new QGridLayout;
    for (int k = 0; k < kPrioritySlots; ++k) {
        LabelPriorityChannel[k]->setBuddy(ComboPriorityChannel[k]);
        ComboPriorityChannel[k]->setMinimumWidth(twips(900));
        slotGrid->addWidget(LabelPriorityChannel[k], k, 0);
        slotGrid->addWidget(ComboPriorityChannel[k], k, 1);
    }
    auto* columns = new QHBoxLayout;
    columns->addLayout(settings);
    columns->addSpacing(twips(600));
    columns->addLayout(slotGrid);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns);
    outer->addStretch(1);
    outer->addLayout(closeHelpButtonRow(CommandClose, CommandHelp));

    // Load.
    events_ = new EditorWindowEvents(this, host_.state(), &AppState::FormScanInformationOpen);
    LanguageChange();
    AnalyseScanInformation();
    resize(sizeHint());
    observation_ = std::make_unique<DocumentObservation>(doc_, [this](const DocumentChange& c) {
        if (!decoding_ &&
            (c.touches(addr::kPriorityMode, addr::kPriorityChannel + kPrioritySlots) ||
             c.touches(addr::kScanAddBitmap, addr::kScanAddBitmap + 2)))
            AnalyseScanInformation();
    });

    // activated: a user's pick only, never the decode's or the enabling rule's.
    connect(ComboPriority, &QComboBox::activated, this, &FormScanInformation::ComboPriority_Click);
    connect(ComboRevertChannel, &QComboBox::activated, this,
            &FormScanInformation::ComboRevertChannel_Click);
    for (int i = 0; i < 2; ++i) {
        connect(ComboScanBackTime[i], &QComboBox::activated, this,
                [this, i](int index) { ComboScanBackTime_Click(i, index); });
        connect(ComboScanDelay[i], &QComboBox::activated, this,
                [this, i](int index) { ComboScanDelay_Click(i, index); });
    }
    for (int k = 0; k < kPrioritySlots; ++k)
        connect(ComboPriorityChannel[k], &QComboBox::activated, this,
                [this, k](int index) { ComboPriorityChannel_Click(k, index); });
    connect(CommandClose, &QPushButton::clicked, this, &FormScanInformation::CommandClose_Click);
    connect(CommandHelp, &QPushButton::clicked, this, &FormScanInformation::CommandHelp_Click);
}

FormScanInformation::~FormScanInformation() = default;

void FormScanInformation::LanguageChange() {
    using namespace scan_texts;
    const bool en = doc_.IsEnglish;
    const QStringList times = uiList(ScanTimeList(doc_.DecimalSeparator));
    for (int i = 0; i < 2; ++i) {
        ComboScanBackTime[i]->addItems(times);
        ComboScanDelay[i]->addItems(times);
    }
    setWindowTitle(uiText(kCaption, en));
    CommandClose->setText(uiText(texts::kClose, en));
    CommandHelp->setText(uiText(texts::kHelp, en));
    LabelPriority->setText(uiText(kPriority, en));
    LabelScanBackTime[0]->setText(uiText(kLookBackA, en));
    LabelScanBackTime[1]->setText(uiText(kLookBackB, en));
    ComboPriority->addItems(uiList(PriorityList(en)));
    ComboRevertChannel->addItems(uiList(RevertChannelList(en, kPriorityFixd)));
    LabelRevertChannel->setText(uiText(kRevertChannel, en));
    LabelRevertScanDelay[0]->setText(uiText(kDropoutDelay, en));
    LabelRevertScanDelay[1]->setText(uiText(kTxDwell, en));
    for (int k = 0; k < kPrioritySlots; ++k)
        LabelPriorityChannel[k]->setText(uiText(kPriorityChannel, en) + QString::number(k + 1));
    for (int k = 0; k < 2; ++k) {
        LabelPriorityChannel[k]->setToolTip(uiText(kSharedSlot, en));
        ComboPriorityChannel[k]->setToolTip(uiText(kSharedSlot, en));
    }
}

void FormScanInformation::applyEnablingRule(int mode) {
    for (QComboBox* combo : ComboScanBackTime) combo->setEnabled(mode != kPriorityNone);
    for (QComboBox* combo : ComboPriorityChannel) combo->setEnabled(mode == kPriorityFixd);
    const int wanted = RevertChannelEntries(mode);
    if (ComboRevertChannel->count() == wanted) return;
    if (wanted == 2) {
        // The byte keeps its value; the list shows no selection until the next decode.
        const bool lost = ComboRevertChannel->currentIndex() >= 2;
        ComboRevertChannel->removeItem(3);
        ComboRevertChannel->removeItem(2);
        if (lost) ComboRevertChannel->setCurrentIndex(-1);
    } else {
        const QStringList all = uiList(RevertChannelList(doc_.IsEnglish, mode));
        ComboRevertChannel->addItems(all.mid(ComboRevertChannel->count()));
    }
}

void FormScanInformation::AnalyseScanInformation() {
    decoding_ = true;
    const ScanView v = DecodeScan(doc_.radioImage);
    ComboPriority->setCurrentIndex(v.priority);
    applyEnablingRule(v.priority);
    for (int i = 0; i < 2; ++i) {
        ComboScanBackTime[i]->setCurrentIndex(v.lookBack[i]);
        ComboScanDelay[i]->setCurrentIndex(v.delay[i]);
    }
    ComboRevertChannel->setCurrentIndex(v.revert);
    for (int k = 0; k < kPrioritySlots; ++k) {
        QComboBox* combo = ComboPriorityChannel[k];
        combo->clear();
        for (int channel : v.prioritySlots[k].channels)
            combo->addItem(QString::number(channel), channel);
        combo->setCurrentIndex(v.prioritySlots[k].selected);
    }
    decoding_ = false;
}

void FormScanInformation::store(const std::function<void()>& write) {
    if (decoding_) return;
    {
        DocumentEdit edit(doc_);
        write();
    }
    AnalyseScanInformation();
}

void FormScanInformation::ComboPriority_Click(int index) {
    store([&] { SetPriorityMode(doc_.radioImage, index); });
}

void FormScanInformation::ComboRevertChannel_Click(int index) {
    store([&] { SetRevertChannel(doc_.radioImage, index, ComboRevertChannel->count()); });
}

void FormScanInformation::ComboScanBackTime_Click(int which, int index) {
    store([&] { SetLookBackTime(doc_.radioImage, which, index); });
}

void FormScanInformation::ComboScanDelay_Click(int which, int index) {
    store([&] { SetScanDelay(doc_.radioImage, which, index); });
}

void FormScanInformation::ComboPriorityChannel_Click(int slot, int index) {
    if (index < 0) return;
    // A channel that has left the scan list since the list was filled is refused by
    // the write; the redraw then shows what is stored.
    const int channel = ComboPriorityChannel[slot]->itemData(index).toInt();
    store([&] { SetPriorityChannel(doc_.radioImage, slot, channel); });
}

void FormScanInformation::CommandClose_Click() {
    events_->closeButtonClicked();
}

void FormScanInformation::CommandHelp_Click() {
    host_.showHelpTopic(QStringLiteral("Scan/Scan.htm"));
}

}  // namespace baldo7
