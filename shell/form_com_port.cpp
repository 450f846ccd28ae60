#include "shell/form_com_port.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "link/serial_port.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

QString PortChoiceText(const SerialPortEntry& e) {
    QStringList about;
    if (!e.description.trimmed().isEmpty()) about << e.description.trimmed();
    if (e.vendorId >= 0 && e.productId >= 0)
        about << QStringLiteral("%1:%2")
                     .arg(e.vendorId, 4, 16, QLatin1Char('0'))
                     .arg(e.productId, 4, 16, QLatin1Char('0'));
    if (about.isEmpty()) return e.name;
    return e.name + QStringLiteral(" (") + about.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QList<PortChoice> PortChoices(bool isEnglish) {
    QList<PortChoice> out;
    for (const SerialPortEntry& e : availableSerialPorts())
        out.append({PortChoiceText(e), e.number > 0 ? QString::number(e.number) : e.name, e.number,
                    e.location});
    // Running baldo7-sim radios too: the system's list never has their pseudo-terminals.
    for (SerialPortEntry e : simulatedRadioPorts()) {
        e.description =
            uiText(shelltexts::kSimulatorPortDescription, isEnglish).arg(e.simulatorPid);
        out.append({PortChoiceText(e), e.location, 0, e.location});
    }
    out.append({uiText(shelltexts::kSimulatedPortText, isEnglish),
                QString::fromLatin1(kSimulatedPortSetting), 0, QString()});
    return out;
}

PortChoice TypedPortChoice(const QString& text) {
    const QString t = text.trimmed();
    if (const int n = serialPortNumber(t); n > 0) return {t, QString::number(n), n, QString()};
    return {t, t, 0, resolveSerialPortName(t)};
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
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    Combo1->setMinimumWidth(twips(3600));
    CommandOK = makeButton(uiText(shelltexts::kOk, en), "CommandOK", true);
    CommandCancel = makeButton(uiText(shelltexts::kCancel, en), "CommandCancel");
    layOutDialog(this, labelledRow(Label1, Combo1), {CommandOK, CommandCancel});

    // The current port is selected when listed; otherwise its setting stands in the box.
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
    Combo1->setCurrentIndex(selected);
    if (selected < 0) Combo1->setEditText(current);

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
    const QString text = Combo1->currentText();
    int index = Combo1->currentIndex();
    // A typed text that is not the selected entry's is a port of its own, unless it
    // is another entry's text.
    if (index < 0 || Combo1->itemText(index) != text) index = Combo1->findText(text);
    if (index >= 0 && index < choices_.size()) {
        take(choices_[index]);
        StoreComPort(settings_, doc_);
    } else if (!text.trimmed().isEmpty()) {
        take(TypedPortChoice(text));
        StoreComPort(settings_, doc_);
    }
    accept();
}

}  // namespace baldo7
