#include "service/form_dtmf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "channels/form_support.h"
#include "service/service_memory.h"
#include "service/service_texts.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr int kFieldWidthTwips = 2000;
constexpr char kHelpTopic[] = "stundie.htm";

}  // namespace

FormDtmf::FormDtmf(const ServiceContext& context, bool stunEnableVisible, QWidget* parent)
    : QDialog(parent), context_(context) {
    using namespace service_texts;
    setObjectName(QStringLiteral("FormDtmf"));
    const bool en = context_.doc.IsEnglish;
    setWindowTitle(uiText(kStunCaption, en));

    ComboStatus = new QComboBox;
    ComboStatus->setObjectName(QStringLiteral("ComboStatus"));
    for (const BiText* t : {&kStatusNormal, &kStatusStun, &kStatusDie})
        ComboStatus->addItem(uiText(*t, en));
    ComboAckType = new QComboBox;
    ComboAckType->setObjectName(QStringLiteral("ComboAckType"));
    for (const BiText* t : {&kAckChord, &kAckRing}) ComboAckType->addItem(uiText(*t, en));
    CheckStunEnable = new QCheckBox(uiText(kStunEnable, en));
    CheckStunEnable->setObjectName(QStringLiteral("CheckStunEnable"));
    TextStun = new QLineEdit;
    TextStun->setObjectName(QStringLiteral("TextStun"));
    TextKill = new QLineEdit;
    TextKill->setObjectName(QStringLiteral("TextKill"));
    for (QLineEdit* box : {TextStun, TextKill}) {
        box->setMaxLength(kDtmfCodeDigits);
        box->setMinimumWidth(twips(kFieldWidthTwips));
        box->installEventFilter(this);
    }
    for (QComboBox* combo : {ComboStatus, ComboAckType})
        combo->setMinimumWidth(twips(kFieldWidthTwips));
    LabelStatus = makeLabel(kStatus, en, "LabelStatus", ComboStatus);
    LabelAckType = makeLabel(kAckType, en, "LabelAckType", ComboAckType);
    LabelStun = makeLabel(kStunCode, en, "LabelStun", TextStun);
    LabelKill = makeLabel(kDieCode, en, "LabelKill", TextKill);

    FrameDtmf = new QGroupBox(uiText(kDtmfCode, en));
    FrameDtmf->setObjectName(QStringLiteral("FrameDtmf"));
    auto* codes = new QGridLayout(FrameDtmf);
    codes->addWidget(LabelStun, 0, 0);
    codes->addWidget(TextStun, 0, 1);
    codes->addWidget(LabelKill, 1, 0);
    codes->addWidget(TextKill, 1, 1);

    auto* top = new QGridLayout;
    top->addWidget(LabelStatus, 0, 0);
    top->addWidget(ComboStatus, 0, 1);
    top->addWidget(LabelAckType, 1, 0);
    top->addWidget(ComboAckType, 1, 1);
    auto* body = new QVBoxLayout;
    body->addLayout(top);
    body->addWidget(CheckStunEnable);
    body->addWidget(FrameDtmf);
    CommandWrite = makeButton(uiText(kWrite, en), "CommandWrite");
    CommandClose = makeButton(uiText(texts::kClose, en), "CommandClose");
    layOutDialog(this, body, {CommandWrite, CommandClose});
    bindHelpKey(this, context_, QString::fromLatin1(kHelpTopic));

    AnalyseStunDie();
    // Hidden unless the status-bar gesture has shown it; the layout closes up.
    CheckStunEnable->setVisible(stunEnableVisible);

    connect(ComboStatus, &QComboBox::activated, this, [this](int index) {
        if (decoding_) return;
        DocumentEdit edit(context_.doc);
        StoreStatus(block(), index);
    });
    connect(ComboAckType, &QComboBox::activated, this, [this](int index) {
        if (decoding_) return;
        DocumentEdit edit(context_.doc);
        StoreAckType(block(), index);
    });
    connect(CheckStunEnable, &QCheckBox::clicked, this, &FormDtmf::CheckStunEnable_Click);
    for (QLineEdit* box : {TextStun, TextKill}) {
        // Pasted text keeps only what the keys could have typed.
        connect(box, &QLineEdit::textEdited, this, [box](const QString& text) {
            const QString clean = QString::fromLatin1(CleanDtmfCode(text.toLatin1().toStdString()));
            if (clean != text) {
                box->setText(clean);
                box->setModified(true);
            }
        });
    }
    connect(CommandWrite, &QPushButton::clicked, this, &FormDtmf::CommandWrite_Click);
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::accept);
}

std::uint8_t* FormDtmf::block() {
    return ServiceBytes(context_.doc.serviceMemory, addr::kStunDie.first);
}

void FormDtmf::AnalyseStunDie() {
    decoding_ = true;
    const StunDieView v = DecodeStunDie(context_.doc.serviceMemory);
    ComboStatus->setCurrentIndex(v.status);
    ComboAckType->setCurrentIndex(v.ackType);
    CheckStunEnable->setChecked(v.enabled);
    TextStun->setText(QString::fromLatin1(v.stunCode));
    TextKill->setText(QString::fromLatin1(v.dieCode));
    enableCodes(v.enabled);
    decoding_ = false;
}

void FormDtmf::enableCodes(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{FrameDtmf, TextStun, TextKill})
        w->setEnabled(on);
}

void FormDtmf::CheckStunEnable_Click() {
    if (decoding_) return;
    const bool on = CheckStunEnable->isChecked();
    DocumentEdit edit(context_.doc);
    StoreStunEnable(block(), on);
    enableCodes(on);
}

void FormDtmf::codeLostFocus(QLineEdit* box) {
    // A box the user did not edit stores nothing: what it shows for a stored code
    // (an F digit, a length the box cannot show) stays as the radio gave it.
    if (decoding_ || !box->isModified()) return;
    box->setModified(false);
    DocumentEdit edit(context_.doc);
    StoreDtmfCode(block(), box == TextStun ? DtmfCode::Stun : DtmfCode::Die,
                  box->text().toLatin1().toStdString());
}

bool FormDtmf::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && (box == TextStun || box == TextKill)) {
        if (event->type() == QEvent::FocusOut) {
            codeLostFocus(box);
        } else if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (isEnterKey(key)) {
                codeLostFocus(box);
                return true;
            }
            const int typed = typedCode(key);
            if (typed != 0) return applyKeyFilter(box, typed, DtmfKeyFilter(typed));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FormDtmf::CommandWrite_Click() {
    using namespace service_texts;
    Document& doc = context_.doc;
    const bool en = doc.IsEnglish;
    // What the boxes show is what goes out, also when Write was reached by its key
    // without leaving a box; an untouched box sends its stored bytes unchanged.
    codeLostFocus(TextStun);
    codeLostFocus(TextKill);
    if (CheckStunEnable->isChecked()) {
        for (QLineEdit* box : {TextStun, TextKill}) {
            if (!DtmfCodeTooShort(box->text().toStdString())) continue;
            tell(context_, uiText(kCodeTooShort, en));
            box->setFocus();
            box->selectAll();
            return;
        }
    }
    if (!askToContinue(context_, uiText(kWriteConfirm, en))) return;
    if (context_.runTransfer && context_.runTransfer(TransferRequest::write(TransferArea::StunDie)))
        tell(context_, uiText(kWriteSuccessful, en));
}

}  // namespace baldo7
