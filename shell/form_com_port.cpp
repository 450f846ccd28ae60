#include "shell/form_com_port.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "link/serial_port.h"
#include "shell/builtin_radio.h"
#include "shell/dialog_layout.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"
#include "shell/ui_support.h"

namespace baldo7 {

QList<PortChoice> PortChoices(bool isEnglish) {
    QList<PortChoice> out;
    for (const SerialPortEntry& e : availableSerialPorts()) {
        QString text = e.name;
        if (!e.description.isEmpty()) text += QStringLiteral(" (") + e.description + ')';
        out.append({text, e.number > 0 ? QString::number(e.number) : e.name, e.number, e.location});
    }
    out.append({uiText(shelltexts::kSimulatedPortText, isEnglish),
                QString::fromLatin1(kSimulatedPortSetting), 0, QString()});
    return out;
}

FormComPort::FormComPort(Document& doc, QSettings& settings, QList<PortChoice> choices,
                         QWidget* parent)
    : QDialog(parent), doc_(doc), settings_(settings), choices_(std::move(choices)) {
    setObjectName(QStringLiteral("FormComPort"));
    const bool en = doc_.IsEnglish;
    setWindowTitle(uiText(shelltexts::kPortWindow, en));
    Label1 = new QLabel(uiText(shelltexts::kPortLabel, en));
    Combo1 = new QComboBox;
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMinimumWidth(twips(3600));
    CommandOK = makeButton(uiText(shelltexts::kOk, en), "CommandOK", true);
    CommandCancel = makeButton(uiText(shelltexts::kCancel, en), "CommandCancel");
    layOutDialog(this, labelledRow(Label1, Combo1), {CommandOK, CommandCancel});

    // The current port is selected when listed; otherwise the first entry, taken at once.
    const QString current = PortSetting(doc_);
    const QString currentDevice =
        IsSimulatedPort(current) ? QString() : resolveSerialPortName(current);
    int selected = -1;
    for (int i = 0; i < choices_.size(); ++i) {
        Combo1->addItem(choices_[i].text);
        const PortChoice& c = choices_[i];
        const bool same = IsSimulatedPort(current)
                              ? IsSimulatedPort(c.setting)
                              : !c.location.isEmpty() && c.location == currentDevice;
        if (same && selected < 0) selected = i;
    }
    if (selected >= 0) {
        Combo1->setCurrentIndex(selected);
    } else if (!choices_.isEmpty()) {
        Combo1->setCurrentIndex(0);
        take(choices_.front());
    }

    connect(CommandOK, &QPushButton::clicked, this, &FormComPort::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FormComPort::take(const PortChoice& choice) {
    if (choice.number > 0) {
        doc_.ComPortNumber = choice.number;
        doc_.ComPortName.clear();
    } else {
        doc_.ComPortNumber = 0;
        doc_.ComPortName = choice.setting.toStdString();
    }
}

void FormComPort::CommandOK_Click() {
    const int index = Combo1->currentIndex();
    if (index >= 0 && index < choices_.size()) {
        take(choices_[index]);
        StoreComPort(settings_, doc_);
    }
    accept();
}

}  // namespace baldo7
