// FormComPort: choose the serial port. Lists the ports the system knows and always
// the built-in simulated radio. OK stores the choice.
#pragma once

#include <QDialog>
#include <QList>
#include <QSettings>

#include "core/document.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace baldo7 {

struct PortChoice {
    QString text;      // what the list shows
    QString setting;   // what is stored: a number, a device name or the simulated radio
    int number = 0;    // COMn's n, else 0
    QString location;  // the device it opens ("" for the simulated radio)
};

// The machine's ports then the built-in radio.
QList<PortChoice> PortChoices(bool isEnglish);

class FormComPort : public QDialog {
    Q_OBJECT
public:
    FormComPort(Document& doc, QSettings& settings, QList<PortChoice> choices,
                QWidget* parent = nullptr);

    QLabel* Label1;
    QComboBox* Combo1;
    QPushButton* CommandOK;
    QPushButton* CommandCancel;

    void CommandOK_Click();

private:
    void take(const PortChoice& choice);

    Document& doc_;
    QSettings& settings_;
    QList<PortChoice> choices_;
};

}  // namespace baldo7
