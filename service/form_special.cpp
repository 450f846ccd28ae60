#include "service/form_special.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "service/service_texts.h"
#include "service/special_option.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr int kFieldWidthTwips = 1500;
constexpr char kHelpTopic[] = "special.htm";
}  // namespace

FormSpecial::FormSpecial(const ServiceContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    using namespace service_texts;
    setObjectName(QStringLiteral("FormSpecial"));
    const bool en = context_.doc.IsEnglish;
    setWindowTitle(uiText(kSpecialCaption, en));
    ComboRxVoice = new QComboBox;
    ComboRxVoice->setObjectName(QStringLiteral("ComboRxVoice"));
    ComboRxVoice->setMinimumWidth(twips(kFieldWidthTwips));
    ComboRxVoice->addItems(uiList(RxVoiceLevelList()));
    ComboRxVoice->setCurrentIndex(RxVoiceIndex(context_.doc.serviceMemory));
    LabelRxVoice = new QLabel(uiText(kRxVoice, en));
    LabelRxVoice->setObjectName(QStringLiteral("LabelRxVoice"));
    LabelRxVoice->setBuddy(ComboRxVoice);
    CommandWrite = makeButton(uiText(kWrite, en), "CommandWrite");
    CommandClose = makeButton(uiText(texts::kClose, en), "CommandClose");
    layOutDialog(this, labelledRow(LabelRxVoice, ComboRxVoice), {CommandWrite, CommandClose});
    bindHelpKey(this, context_, QString::fromLatin1(kHelpTopic));

    connect(CommandWrite, &QPushButton::clicked, this, &FormSpecial::CommandWrite_Click);
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::accept);
}

void FormSpecial::CommandWrite_Click() {
    using namespace service_texts;
    Document& doc = context_.doc;
    const bool en = doc.IsEnglish;
    {
        DocumentEdit edit(doc);
        StoreRxVoiceIndex(doc.serviceMemory, ComboRxVoice->currentIndex());
    }
    if (!askToContinue(context_, uiText(kWriteConfirm, en))) return;
    if (context_.runTransfer && context_.runTransfer(TransferRequest::write(TransferArea::Special)))
        tell(context_, uiText(kWriteSuccessful, en));
}

}  // namespace baldo7
