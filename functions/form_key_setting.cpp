#include "functions/form_key_setting.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/document.h"
#include "functions/key_setting.h"
#include "ui/editor_host.h"
#include "ui/editor_window_events.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr int kWidthTwips = 6375;
constexpr int kHeightTwips = 2895;
}  // namespace

FormKeySetting::FormKeySetting(Document& doc, EditorHost& host, QWidget* parent)
    : QWidget(parent), doc_(doc), host_(host) {
    setObjectName(QStringLiteral("FormKeySetting"));
    auto* keys = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        ComboKeySet[i] = new QComboBox;
        ComboKeySet[i]->setObjectName(QStringLiteral("ComboKeySet(%1)").arg(i));
        ComboKeySet[i]->setMinimumWidth(twips(2200));
        LabelKeySet[i] = new QLabel(QString::fromLatin1(key_texts::kKeyLabels[i]));
        LabelKeySet[i]->setObjectName(QStringLiteral("LabelKeySet(%1)").arg(i));
        LabelKeySet[i]->setBuddy(ComboKeySet[i]);
        keys->addWidget(LabelKeySet[i], i, 0);
        keys->addWidget(ComboKeySet[i], i, 1);
        if (i >= 2) {
            LabelKeySet[i]->hide();
            ComboKeySet[i]->hide();
        }
    }
    keys->setColumnStretch(2, 1);
    keys->setHorizontalSpacing(twips(300));
    CommandClose = new QPushButton;
    CommandClose->setObjectName(QStringLiteral("CommandClose"));
    CommandHelp = new QPushButton;
    CommandHelp->setObjectName(QStringLiteral("CommandHelp"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(twips(600), twips(300), twips(600), twips(300));
    outer->addLayout(keys);
    outer->addStretch(1);
    outer->addLayout(closeHelpButtonRow(CommandClose, CommandHelp));

    // Load.
    events_ = new EditorWindowEvents(this, host_.state(), &AppState::FormKeySettingOpen);
    resize(FormKeySetting::sizeHint());
    const bool en = doc_.IsEnglish;
    setWindowTitle(uiText(key_texts::kCaption, en));
    CommandClose->setText(uiText(texts::kClose, en));
    CommandHelp->setText(uiText(texts::kHelp, en));
    for (QComboBox* combo : ComboKeySet) combo->addItems(uiList(KeyFunctionList(en)));
    AnalyseKeySetting();
    observation_ = std::make_unique<DocumentObservation>(doc_, [this](const DocumentChange& c) {
        if (!decoding_ && c.touches(addr::kKeySet, addr::kKeySet + 1)) AnalyseKeySetting();
    });

    for (int i = 0; i < 2; ++i)
        connect(ComboKeySet[i], &QComboBox::activated, this,
                [this, i](int selected) { ComboKeySet_Click(i, selected); });
    connect(CommandClose, &QPushButton::clicked, this, &FormKeySetting::CommandClose_Click);
    connect(CommandHelp, &QPushButton::clicked, this, &FormKeySetting::CommandHelp_Click);
}

QSize FormKeySetting::sizeHint() const {
    return {twips(kWidthTwips), twips(kHeightTwips)};
}

void FormKeySetting::AnalyseKeySetting() {
    decoding_ = true;
    const std::uint8_t byte = doc_.radioImage[addr::kKeySet];
    ComboKeySet[kKeyPf1]->setCurrentIndex(KeyFunctionIndex(byte, kKeyPf1));
    ComboKeySet[kKeyPf2]->setCurrentIndex(KeyFunctionIndex(byte, kKeyPf2));
    decoding_ = false;
}

void FormKeySetting::ComboKeySet_Click(int index, int selected) {
    if (decoding_) return;
    DocumentEdit edit(doc_);
    SetKeyFunction(doc_.radioImage, index, selected);
}

void FormKeySetting::CommandClose_Click() {
    events_->closeButtonClicked();
}

void FormKeySetting::CommandHelp_Click() {
    host_.showHelpTopic(QStringLiteral("keyassign.htm"));
}

}  // namespace baldo7
