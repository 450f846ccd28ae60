#include "functions/form_option.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/document.h"
#include "functions/function_setup.h"
#include "ui/editor_host.h"
#include "ui/editor_window_events.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr int kWidthTwips = 9225;
constexpr int kHeightTwips = 3615;

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

OptionCheck checkOf(const FormOption& form, const QCheckBox* box) {
    if (box == form.CheckSave) return OptionCheck::Save;
    if (box == form.CheckBeep) return OptionCheck::Beep;
    if (box == form.CheckScramble) return OptionCheck::Scramble;
    if (box == form.CheckRoger) return OptionCheck::Roger;
    return OptionCheck::FreqHopping;
}
}  // namespace

FormOption::FormOption(Document& doc, EditorHost& host, QWidget* parent)
    : QWidget(parent), doc_(doc), host_(host) {
    setObjectName(QStringLiteral("FormOption"));
    ComboTOT = named(new QComboBox, "ComboTOT");
    ComboTOTWarning = named(new QComboBox, "ComboTOTWarning");
    ComboSQ = named(new QComboBox, "ComboSQ");
    ComboVoice = named(new QComboBox, "ComboVoice");
    LabelTOT = named(new QLabel, "LabelTOT");
    LabelTOTWarning = named(new QLabel, "LabelTOTWarning");
    LabelSQ = named(new QLabel, "LabelSQ");
    LabelVoice = named(new QLabel, "LabelVoice");
    CheckSave = named(new QCheckBox, "CheckSave");
    CheckBeep = named(new QCheckBox, "CheckBeep");
    CheckScramble = named(new QCheckBox, "CheckScramble");
    CheckRoger = named(new QCheckBox, "CheckRoger");
    CheckFreqHopping = named(new QCheckBox, "CheckFreqHopping");
    TextInfModel = named(new QLineEdit(this), "TextInfModel");
    TextInfModel->hide();
    CommandClose = named(new QPushButton, "CommandClose");
    CommandHelp = named(new QPushButton, "CommandHelp");

    // Lists with their labels on the left, the check boxes on the right, buttons below.
    auto* lists = new QGridLayout;
    const std::pair<QLabel*, QComboBox*> rows[] = {{LabelTOT, ComboTOT},
                                                   {LabelTOTWarning, ComboTOTWarning},
                                                   {LabelSQ, ComboSQ},
                                                   {LabelVoice, ComboVoice}};
    int row = 0;
    for (auto [label, combo] : rows) {
        label->setBuddy(combo);
        combo->setMinimumWidth(twips(1500));
        lists->addWidget(label, row, 0);
        lists->addWidget(combo, row, 1);
        ++row;
    }
    lists->setColumnStretch(1, 1);
    auto* checks = new QVBoxLayout;
    for (QCheckBox* box : {CheckSave, CheckBeep, CheckScramble, CheckRoger, CheckFreqHopping})
        checks->addWidget(box);
    checks->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(lists, 3);
    columns->addSpacing(twips(600));
    columns->addLayout(checks, 2);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns);
    outer->addStretch(1);
    outer->addLayout(closeHelpButtonRow(CommandClose, CommandHelp));

    // Load.
    events_ = new EditorWindowEvents(this, host_.state(), &AppState::FormOptionOpen);
    resize(FormOption::sizeHint());
    fillTexts();
    AnalyseOption();
    observation_ = std::make_unique<DocumentObservation>(doc_, [this](const DocumentChange& c) {
        if (!decoding_ && c.touches(addr::kOptionBits, addr::kInfModel + 2)) AnalyseOption();
    });

    // activated: a user's pick, also of the entry already shown (which still writes).
    connect(ComboTOT, &QComboBox::activated, this, &FormOption::ComboTOT_Click);
    connect(ComboTOTWarning, &QComboBox::activated, this, &FormOption::ComboTOTWarning_Click);
    connect(ComboSQ, &QComboBox::activated, this, &FormOption::ComboSQ_Click);
    connect(ComboVoice, &QComboBox::activated, this, &FormOption::ComboVoice_Click);
    for (QCheckBox* box : {CheckSave, CheckBeep, CheckScramble, CheckRoger, CheckFreqHopping})
        connect(box, &QCheckBox::toggled, this, [this, box](bool on) { checkClick(box, on); });
    connect(CommandClose, &QPushButton::clicked, this, &FormOption::CommandClose_Click);
    connect(CommandHelp, &QPushButton::clicked, this, &FormOption::CommandHelp_Click);
}

QSize FormOption::sizeHint() const {
    return {twips(kWidthTwips), twips(kHeightTwips)};
}

void FormOption::fillTexts() {
    using namespace option_texts;
    const bool en = doc_.IsEnglish;
    for (QComboBox* combo : {ComboTOT, ComboTOTWarning, ComboSQ, ComboVoice}) combo->clear();
    ComboSQ->addItems(uiList(SquelchList()));
    setWindowTitle(uiText(kCaption, en));
    CommandClose->setText(uiText(texts::kClose, en));
    CommandHelp->setText(uiText(texts::kHelp, en));
    LabelTOT->setText(uiText(kTot, en));
    LabelTOTWarning->setText(uiText(kTotWarning, en));
    LabelSQ->setText(uiText(kSquelch, en));
    LabelVoice->setText(uiText(kVoice, en));
    for (QCheckBox* box : {CheckSave, CheckBeep, CheckScramble, CheckRoger, CheckFreqHopping})
        box->setText(uiText(OptionCheckCaption(checkOf(*this, box)), en));
    ComboTOT->addItems(uiList(TotList(en)));
    ComboTOTWarning->addItems(uiList(TotWarningList(en)));
    ComboVoice->addItems(uiList(VoiceList(en)));
}

void FormOption::AnalyseOption() {
    decoding_ = true;
    ApplyOptionRepairs(doc_.radioImage);
    const OptionView v = DecodeOption(doc_.radioImage);
    ComboTOT->setCurrentIndex(v.tot);
    ComboTOTWarning->setCurrentIndex(v.totWarning);
    ComboSQ->setCurrentIndex(v.squelch);
    ComboVoice->setCurrentIndex(v.voice);
    CheckSave->setChecked(v.save);
    CheckScramble->setChecked(v.scramble);
    CheckBeep->setChecked(v.beep);
    CheckRoger->setChecked(v.roger);
    CheckFreqHopping->setChecked(v.freqHopping);
    TextInfModel->setText(QString::fromStdString(v.infModelText));
    decoding_ = false;
}

void FormOption::ComboTOT_Click(int index) {
    if (decoding_) return;
    DocumentEdit edit(doc_);
    SetTot(doc_.radioImage, index);
}

void FormOption::ComboTOTWarning_Click(int index) {
    if (decoding_) return;
    DocumentEdit edit(doc_);
    SetTotWarning(doc_.radioImage, index);
}

void FormOption::ComboSQ_Click(int index) {
    if (decoding_) return;
    DocumentEdit edit(doc_);
    SetSquelch(doc_.radioImage, index);
}

void FormOption::ComboVoice_Click(int index) {
    if (decoding_) return;
    DocumentEdit edit(doc_);
    SetVoice(doc_.radioImage, index);
}

void FormOption::checkClick(QCheckBox* box, bool ticked) {
    if (decoding_) return;
    DocumentEdit edit(doc_);
    SetOptionCheck(doc_.radioImage, checkOf(*this, box), ticked);
}

void FormOption::CommandClose_Click() {
    events_->closeButtonClicked();
}

void FormOption::CommandHelp_Click() {
    host_.showHelpTopic(QStringLiteral("optfeatures.htm"));
}

}  // namespace baldo7
