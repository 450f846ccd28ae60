#include "service/form_local_message.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "service/service_texts.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr int kFieldWidthTwips = 2400;
constexpr int kDescriptionHeightTwips = 1100;
constexpr char kHelpTopic[] = "Local/Local.htm";

// The boxes are never editable here, so each holds its whole field: a limit below the
// field's size (the dates' 15) would cut what the radio stores.
QLineEdit* textBox(const char* name, int maxLength) {
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(maxLength);
    box->setMinimumWidth(twips(kFieldWidthTwips));
    return box;
}

}  // namespace

FormLocalMessage::FormLocalMessage(const ServiceContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    using namespace service_texts;
    setObjectName(QStringLiteral("FormLocalMessage"));
    const bool en = context_.doc.IsEnglish;
    setWindowTitle(uiText(kLocalCaption, en));

    ComboRadioType = new QComboBox;
    ComboRadioType->setObjectName(QStringLiteral("ComboRadioType"));
    ComboRadioType->addItems(uiList(RadioTypeList()));
    ComboFrequencyArea = new QComboBox;
    ComboFrequencyArea->setObjectName(QStringLiteral("ComboFrequencyArea"));
    ComboFrequencyArea->addItems(uiList(FrequencyAreaList()));
    TextAreaCode = textBox("TextAreaCode", 4);
    TextManufactureCode = textBox("TextManufactureCode", 8);
    TextUserCode = textBox("TextUserCode", 4);
    TextPassword = textBox("TextPassword", 4);
    TextSerialNumber = textBox("TextSerialNumber", 16);
    TextProductedDate = textBox("TextProductedDate", 16);
    TextMaintainedDate = textBox("TextMaintainedDate", 16);
    TextVersion = textBox("TextVersion", 5);
    TextVersion->setReadOnly(true);
    TextDealerCode = textBox("TextDealerCode", 16);
    TextStockDate = textBox("TextStockDate", 16);
    TextSellDate = textBox("TextSellDate", 16);
    TextSeller = textBox("TextSeller", 16);
    TextMaintainedDescription = new QPlainTextEdit;
    TextMaintainedDescription->setObjectName(QStringLiteral("TextMaintainedDescription"));
    TextMaintainedDescription->setFixedHeight(twips(kDescriptionHeightTwips));
    LabelPassword = makeLabel(kPasswordLabel, en, "LabelPassword", TextPassword);

    // Production and maintenance on the left, radio and firmware on the right.
    auto* record = new QGridLayout;
    const struct {
        int row, column;
        const BiText& text;
        const char* name;
        QWidget* box;
    } rows[] = {
        {0, 0, kAreaCode, "LabelAreaCode", TextAreaCode},
        {1, 0, kManufactureCode, "LabelManufactureCode", TextManufactureCode},
        {2, 0, kUserCode, "LabelUserCode", TextUserCode},
        {3, 0, kProductedDate, "LabelProductedDate", TextProductedDate},
        {4, 0, kMaintainedDate, "LabelMaintainedDate", TextMaintainedDate},
        {0, 2, kRadioType, "LabelRadioType", ComboRadioType},
        {1, 2, kFrequencyArea, "LabelFrequencyArea", ComboFrequencyArea},
        {2, 2, kSerialNumber, "LabelSerialNumber", TextSerialNumber},
        {3, 2, kVersion, "LabelVersion", TextVersion},
    };
    for (const auto& r : rows) {
        record->addWidget(makeLabel(r.text, en, r.name, r.box), r.row, r.column);
        record->addWidget(r.box, r.row, r.column + 1);
    }
    record->addWidget(LabelPassword, 4, 2);
    record->addWidget(TextPassword, 4, 3);
    record->setColumnMinimumWidth(2, twips(1500));
    auto* description = new QVBoxLayout;
    description->addWidget(makeLabel(kMaintainedDescription, en, "LabelMaintainedDescription",
                                     TextMaintainedDescription));
    description->addWidget(TextMaintainedDescription);

    FrameSellerInformation = new QGroupBox(uiText(kSellerInformation, en));
    FrameSellerInformation->setObjectName(QStringLiteral("FrameSellerInformation"));
    auto* seller = new QGridLayout(FrameSellerInformation);
    seller->addWidget(makeLabel(kDealerCode, en, "LabelDealerCode", TextDealerCode), 0, 0);
    seller->addWidget(TextDealerCode, 0, 1);
    seller->addWidget(makeLabel(kSeller, en, "LabelSeller", TextSeller), 0, 2);
    seller->addWidget(TextSeller, 0, 3);
    seller->addWidget(makeLabel(kStockDate, en, "LabelStockDate", TextStockDate), 1, 0);
    seller->addWidget(TextStockDate, 1, 1);
    seller->addWidget(makeLabel(kSellDate, en, "LabelSellDate", TextSellDate), 1, 2);
    seller->addWidget(TextSellDate, 1, 3);
    seller->setColumnMinimumWidth(2, twips(1500));

    CommandWrite = makeButton(uiText(kWrite, en), "CommandWrite");
    CommandClose = makeButton(uiText(texts::kClose, en), "CommandClose", true);
    CommandHelp = makeButton(uiText(texts::kHelp, en), "CommandHelp");
    auto* body = new QVBoxLayout;
    body->addLayout(record);
    body->addLayout(description);
    body->addWidget(FrameSellerInformation);
    // The layout closes up over the hidden Write button: Close and Help sit right
    // under the record.
    layOutDialog(this, body, {CommandWrite, CommandClose, CommandHelp});
    bindHelpKey(this, context_, QString::fromLatin1(kHelpTopic));

    AnalyseLocalMessage();
    // Display only, but the texts can be selected and copied (a serial number for a
    // repair note); the two lists cannot be opened or changed.
    for (QLineEdit* box :
         {TextAreaCode, TextManufactureCode, TextUserCode, TextSerialNumber, TextProductedDate,
          TextMaintainedDate, TextDealerCode, TextStockDate, TextSellDate, TextSeller})
        box->setReadOnly(true);
    TextMaintainedDescription->setReadOnly(true);
    for (QComboBox* list : {ComboRadioType, ComboFrequencyArea}) {
        list->setFocusPolicy(Qt::NoFocus);
        list->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{CommandWrite, TextPassword, LabelPassword})
        w->hide();
    CommandClose->setFocus();

    connect(CommandClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(CommandHelp, &QPushButton::clicked, this, [this] {
        if (context_.showHelp) context_.showHelp(QString::fromLatin1(kHelpTopic));
    });
}

void FormLocalMessage::AnalyseLocalMessage() {
    const LocalMessageView v = DecodeLocalMessage(context_.doc.serviceMemory);
    ComboRadioType->setCurrentIndex(v.radioTypeIndex);
    ComboFrequencyArea->setCurrentIndex(v.frequencyAreaIndex);
    for (const LocalFieldLayout& f : kLocalFields) {
        const QString text = latin1Text(v.shown(f.field));
        if (f.field == LocalField::MaintainedDescription)
            TextMaintainedDescription->setPlainText(text);
        else
            static_cast<QLineEdit*>(fieldBox(f.field))->setText(text);
    }
    TextPassword->setText(latin1Text(v.password));
    TextVersion->setText(latin1Text(FirmwareVersion(context_.doc.radioImage)));
}

QWidget* FormLocalMessage::fieldBox(LocalField field) const {
    switch (field) {
        case LocalField::AreaCode:
            return TextAreaCode;
        case LocalField::SerialNumber:
            return TextSerialNumber;
        case LocalField::ProductedDate:
            return TextProductedDate;
        case LocalField::ManufactureCode:
            return TextManufactureCode;
        case LocalField::UserCode:
            return TextUserCode;
        case LocalField::MaintainedDate:
            return TextMaintainedDate;
        case LocalField::DealerCode:
            return TextDealerCode;
        case LocalField::StockDate:
            return TextStockDate;
        case LocalField::SellDate:
            return TextSellDate;
        case LocalField::Seller:
            return TextSeller;
        case LocalField::MaintainedDescription:
            return TextMaintainedDescription;
    }
    return nullptr;
}

QString FormLocalMessage::fieldText(LocalField field) const {
    if (field == LocalField::MaintainedDescription) return TextMaintainedDescription->toPlainText();
    return static_cast<QLineEdit*>(fieldBox(field))->text();
}

}  // namespace baldo7
