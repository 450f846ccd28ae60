#include "shell/form_language.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "shell/settings.h"
#include "shell/shell_texts.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

FormLanguage::FormLanguage(Document& doc, QSettings& settings, QWidget* parent)
    : QDialog(parent), doc_(doc), settings_(settings) {
    setObjectName(QStringLiteral("FormLanguage"));
    const bool en = doc_.IsEnglish;
    setWindowTitle(uiText(shelltexts::kLanguageWindow, en));
    LabelLanguage = new QLabel(uiText(shelltexts::kLanguageLabel, en));
    ComboLanguage = new QComboBox;
    ComboLanguage->setObjectName(QStringLiteral("ComboLanguage"));
    ComboLanguage->addItems({uiText(shelltexts::kEnglish, en), uiText(shelltexts::kChinese, en)});
    ComboLanguage->setCurrentIndex(en ? 0 : 1);
    ComboLanguage->setMinimumWidth(twips(1800));
    CommandOK = makeButton(uiText(shelltexts::kOk, en), "CommandOK", true);
    CommandCancel = makeButton(uiText(shelltexts::kCancel, en), "CommandCancel");
    layOutDialog(this, labelledRow(LabelLanguage, ComboLanguage), {CommandOK, CommandCancel});

    connect(CommandOK, &QPushButton::clicked, this, &FormLanguage::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FormLanguage::CommandOK_Click() {
    const bool english = ComboLanguage->currentIndex() == 0;
    if (english != doc_.IsEnglish) {
        changed_ = true;
        StoreLanguage(settings_, english);  // a failed write still switches this run
    }
    doc_.IsEnglish = english;
    accept();
}

}  // namespace baldo7
