#include "shell/form_model_information.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "core/model_band.h"
#include "shell/shell_texts.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

FormModelInformation::FormModelInformation(Document& doc, MessageService& messages, QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages) {
    setObjectName(QStringLiteral("FormModelInformation"));
    const bool en = doc_.IsEnglish;
    setWindowTitle(uiText(shelltexts::kModelWindow, en));
    LabelModel = new QLabel(uiText(shelltexts::kModelLabel, en));
    LabelArea = new QLabel(uiText(shelltexts::kAreaLabel, en));
    ComboModel = new QComboBox;
    ComboModel->setObjectName(QStringLiteral("ComboModel"));
    ComboArea = new QComboBox;
    ComboArea->setObjectName(QStringLiteral("ComboArea"));
    CommandOK = makeButton(uiText(shelltexts::kModelOk, en), "CommandOK", true);
    CommandCancel = makeButton(uiText(shelltexts::kModelCancel, en), "CommandCancel");

    auto* grid = new QGridLayout;
    grid->addWidget(LabelModel, 0, 0);
    grid->addWidget(ComboModel, 0, 1);
    grid->addWidget(LabelArea, 1, 0);
    grid->addWidget(ComboArea, 1, 1);
    grid->setColumnMinimumWidth(1, twips(2000));
    layOutDialog(this, grid, {CommandOK, CommandCancel});

    loading_ = true;
    ComboModel->addItems({QStringLiteral("VHF"), QStringLiteral("UHF")});
    const ModelSelection sel = ModelDialogSelection(doc_.radioImage);
    ComboModel->setCurrentIndex(sel.modelIndex);
    lastModelIndex_ = sel.modelIndex;
    fillAreas(sel.modelIndex);
    ComboArea->setCurrentIndex(sel.bandIndex);
    loading_ = false;

    connect(ComboModel, qOverload<int>(&QComboBox::activated), this,
            [this](int) { ComboModel_Click(); });
    connect(CommandOK, &QPushButton::clicked, this, &FormModelInformation::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FormModelInformation::fillAreas(int modelIndex) {
    ComboArea->clear();
    for (const BandRow& row : BandRows(modelIndex == 0 ? Model::VHF : Model::UHF))
        ComboArea->addItem(QString::fromLatin1(row.text));
}

void FormModelInformation::ComboModel_Click() {
    if (loading_) return;
    const int index = ComboModel->currentIndex();
    if (index != lastModelIndex_) {
        fillAreas(index);
        ComboArea->setCurrentIndex(0);
    }
    lastModelIndex_ = index;
}

void FormModelInformation::CommandOK_Click() {
    const int model = ComboModel->currentIndex();
    const int band = ComboArea->currentIndex();
    if (!ModelRecordMatches(doc_.radioImage, model, band)) {
        const UnsavedAnswer unsaved = askUnsaved ? askUnsaved() : UnsavedAnswer::Unmodified;
        const bool goOn = unsaved == UnsavedAnswer::GoOn ||
                          (unsaved == UnsavedAnswer::Unmodified &&
                           messages_.show(MsgIcon::Error, appTitle(),
                                          uiText(shelltexts::kFrequencyCleared, doc_.IsEnglish),
                                          MsgButtons::OkCancel) == MsgAnswer::Ok);
        const auto limits = ParseBandText(ComboArea->currentText().toStdString());
        if (goOn && limits) {
            doc_.BandLowMHz = limits->lowMHz;
            doc_.BandHighMHz = limits->highMHz;
            doc_.BandTxHighMHz = limits->highMHz;
            doc_.TemplateFileName = "Init.dat";
            doc_.ReloadTemplate = true;
            doc_.ModelType = ComboModel->currentText().toStdString();
        }
    }
    accept();
}

}  // namespace baldo7
