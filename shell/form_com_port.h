// FormComPort: choose the serial port. Lists the ports the system knows and always
// the built-in simulated radio; a port not listed (an adapter the system does not
// report, a pseudo-terminal) can be typed. OK takes and stores the choice, Cancel
// changes nothing.
#pragma once

#include <QDialog>
#include <QList>
#include <QSettings>

#include "core/document.h"
#include "link/serial_port.h"

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

// "ttyUSB0 (FT232R USB UART, 0403:6001)": the name, then what the system says of the
// port (driver description, USB vendor and product id) where it says anything.
QString PortChoiceText(const SerialPortEntry& entry);
// The machine's ports, running baldo7-sim radios, then the built-in radio.
QList<PortChoice> PortChoices(bool isEnglish);
// What a typed port means: a number ("3", "COM3") or a device name or path.
PortChoice TypedPortChoice(const QString& text);

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
