// The programming cable's serial line: "9600,N,8,1", no flow control, bytes in and
// out, and a receive threshold (one notification once at least N bytes are
// buffered, carrying every buffered byte). The line itself is QSerialPort's
// (serial_port_qt.cpp) or, on Windows, the system's own (serial_port_win.cpp).
//
// Port names: "COMn" on Windows. Elsewhere a device path (/dev/ttyUSB0, a
// pseudo-terminal such as /dev/pts/3) or a bare device name (ttyUSB0). A bare
// number n, or "COMn", means COMn on Windows and /dev/ttyS(n-1) elsewhere, so the
// default port 1 is the first on-board serial port.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include "link/link_port.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace baldo7 {

// The device a port setting (number, "COMn", name or path) refers to.
QString serialPortNameForNumber(int number);
QString resolveSerialPortName(const QString& setting);
// The number in a setting ("3", "COM3"), or 0 where there is none (a device path).
int serialPortNumber(const QString& setting);

// Why a port would not open: "no such device", "permission denied", "it is in use
// by another program", ...
QString serialPortOpenFailureReason(PortError error, bool isEnglish);
// After a permission failure on a device file: which group grants access and how to
// join it; otherwise empty.
QString serialPortGroupHint(const QString& device, PortError error, bool isEnglish);
// A program holding a device open, as /proc shows it (Linux; empty elsewhere or
// where the system hides other users' processes).
struct PortHolder {
    qint64 pid = 0;
    QString program;  // "ModemManager", "brltty", "baldo7ctl"
};
QList<PortHolder> serialPortHolders(const QString& device);
// The programming-cable adapters (CH340, CP210x, PL2303, FT232) plugged in, as the
// folder of the system's USB devices lists them (/sys/bus/usb/devices), that have no
// serial port in `ports`: something took the port away right after the cable was
// plugged in (on some systems the braille display daemon does). "CH340 (1a86:7523)".
struct SerialPortEntry;
QStringList usbCablesWithoutPort(const QString& usbDevices, const QList<SerialPortEntry>& ports);
// What to say about such cables: the port vanished, and how to stop the braille
// display daemon. Empty when `cables` is.
QString cableTakenText(const QStringList& cables, bool isEnglish);
// What the user can do about it, in one line: the ports that do exist, the group
// to join, the program to close or stop; a cable plugged in without a port says so.
QString serialPortRemedy(const QString& device, PortError error, bool isEnglish);
// "Cannot open DEVICE: reason." and, on the next line, the remedy: what both the
// transfer window and baldo7ctl say about a port that would not open. `typed`, the
// name the user gave, comes first when it is not the device's: "COM9 (/dev/ttyS8)".
QString serialPortDiagnosis(const QString& device, PortError error, bool isEnglish,
                            const QString& typed = QString());
// The transfer window's text for a port that would not open: "Please reselect COM
// port!", then the diagnosis.
QString serialPortOpenFailureText(const QString& device, PortError error, bool isEnglish,
                                  const QString& typed = QString());
// The group owning a device file ("dialout"), or empty when it cannot be found.
QString deviceGroupName(const QString& device);

struct SerialPortEntry {
    QString name;         // what the chooser shows and the setting stores: "COM3", "ttyUSB0"
    QString location;     // what opens it: "COM3", "/dev/ttyUSB0"
    QString description;  // from the driver, may be empty
    int number = 0;       // n for COMn, else 0
    int vendorId = -1;    // USB vendor and product id, -1 where the system has none
    int productId = -1;
    QString manufacturer{};
    QString serialNumber{};
    bool simulated = false;   // a baldo7-sim radio's pseudo-terminal
    qint64 simulatorPid = 0;  // the baldo7-sim process behind it
};
// The serial ports the system knows, in name order.
QList<SerialPortEntry> availableSerialPorts();
void sortSerialPorts(QList<SerialPortEntry>& ports);
// USB vendor and product ids from a device id ("USB\VID_1A86&PID_7523&REV_0254",
// "FTDIBUS\VID_0403+PID_6001+A50285BIA\0000"); -1 where it names none.
struct UsbIds {
    int vendorId = -1;
    int productId = -1;
};
UsbIds usbIdsFromDeviceId(const QString& deviceId);
// The serial number in a USB device instance id ("USB\VID_0403&PID_6001\A50285BI"),
// empty where the last part is one the system made up (it holds '&').
QString usbSerialFromInstanceId(const QString& instanceId);
// The pseudo-terminals of running baldo7-sim radios (Linux), which the system's
// port list never shows.
QList<SerialPortEntry> simulatedRadioPorts();
// Whether this user may open the device for reading and writing (busy or not).
bool serialPortAccessible(const QString& device);

// "DTR", "RTS", "DTR,RTS" (any case, any separator); anything else sets nothing.
CablePower parseCablePower(const QString& text);
QString cablePowerText(CablePower power);

class SerialPort : public LinkPort {
    Q_OBJECT
public:
    explicit SerialPort(QObject* parent = nullptr);
    ~SerialPort() override;

    // Opens the device with the line settings; the port stays closed on failure.
    bool open(const QString& setting) override;
    bool isOpen() const override;
    // Lines asserted right after every open; false where the device has none (a
    // pseudo-terminal), which is no reason to fail the exchange.
    void setCablePower(CablePower power) override { power_ = power; }
    bool cablePowerApplied() const { return powerApplied_; }
    void close() override;
    QString deviceName() const override { return device_; }
    PortError openError() const override { return openError_; }
    QString openFailureText(bool isEnglish) const override;

    using LinkPort::send;
    bool send(const QByteArray& bytes) override;

    void setReceiveThreshold(int bytes) override;
    int receiveThreshold() const override { return threshold_; }
    int bytesBuffered() const override;
    QByteArray readAll() override;
    void discardInput() override;

private:
    void deliverIfReady();

    struct Line;
    std::unique_ptr<Line> line_;
    QString device_;
    QString typed_;  // the setting open() was given
    PortError openError_ = PortError::NoError;
    int threshold_ = 0;
    bool checkQueued_ = false;
    CablePower power_;
    bool powerApplied_ = true;
};

}  // namespace baldo7
