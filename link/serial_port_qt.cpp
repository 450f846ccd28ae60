// The serial line through QSerialPort (Linux and the other systems Qt's serial port
// module serves; Windows has its own, serial_port_win.cpp).
#include <QMetaObject>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <algorithm>

#include "link/serial_port.h"

namespace baldo7 {

namespace {

PortError portErrorOf(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::NoError:
            return PortError::NoError;
        case QSerialPort::DeviceNotFoundError:
            return PortError::DeviceNotFound;
        case QSerialPort::PermissionError:
            return PortError::PermissionDenied;
        case QSerialPort::OpenError:
            return PortError::InUse;
        case QSerialPort::UnsupportedOperationError:
            return PortError::UnsupportedSettings;
        default:
            return PortError::Other;
    }
}

}  // namespace

QList<SerialPortEntry> availableSerialPorts() {
    QList<SerialPortEntry> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry e;
        e.name = info.portName();
        e.location = info.systemLocation();
        e.description = info.description();
        if (info.hasVendorIdentifier()) e.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier()) e.productId = info.productIdentifier();
        e.manufacturer = info.manufacturer();
        e.serialNumber = info.serialNumber();
        e.number = serialPortNumber(e.name);
        out.append(e);
    }
    sortSerialPorts(out);
    return out;
}

struct SerialPort::Line {
    QSerialPort port;
};

SerialPort::SerialPort(QObject* parent) : LinkPort(parent), line_(std::make_unique<Line>()) {
    connect(&line_->port, &QSerialPort::readyRead, this, &SerialPort::deliverIfReady);
}

SerialPort::~SerialPort() {
    SerialPort::close();
}

bool SerialPort::open(const QString& setting) {
    close();
    QSerialPort& port = line_->port;
    device_ = resolveSerialPortName(setting);
    typed_ = setting;
    openError_ = PortError::NoError;
    if (device_.isEmpty()) {
        openError_ = PortError::DeviceNotFound;
        return false;
    }
    port.setPortName(device_);
    if (!port.open(QIODevice::ReadWrite)) {
        openError_ = portErrorOf(port.error());
        // A port held by another program is reported the same way as a denied
        // one; only a device we may not open needs the group hint.
        if (openError_ == PortError::PermissionDenied && serialPortAccessible(device_))
            openError_ = PortError::InUse;
        if (openError_ == PortError::NoError) openError_ = PortError::InUse;
        port.clearError();
        return false;
    }
    const bool configured =
        port.setBaudRate(QSerialPort::Baud9600) && port.setDataBits(QSerialPort::Data8) &&
        port.setParity(QSerialPort::NoParity) && port.setStopBits(QSerialPort::OneStop) &&
        port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        openError_ = PortError::UnsupportedSettings;
        port.close();
        return false;
    }
    port.clear();
    // Asserted only when asked: what the driver does on open is what works today.
    powerApplied_ = true;
    if (power_.dtr) powerApplied_ = port.setDataTerminalReady(true) && powerApplied_;
    if (power_.rts) powerApplied_ = port.setRequestToSend(true) && powerApplied_;
    if (!powerApplied_) port.clearError();
    return true;
}

bool SerialPort::isOpen() const {
    return line_->port.isOpen();
}

void SerialPort::close() {
    threshold_ = 0;
    if (line_->port.isOpen()) line_->port.close();
}

bool SerialPort::send(const QByteArray& bytes) {
    QSerialPort& port = line_->port;
    if (!port.isOpen()) return false;
    if (port.write(bytes) != bytes.size()) return false;
    // Hand the bytes to the driver now: the caller may block (the end pause)
    // before the event loop runs again.
    port.flush();
    return true;
}

int SerialPort::bytesBuffered() const {
    return line_->port.isOpen() ? static_cast<int>(line_->port.bytesAvailable()) : 0;
}

QByteArray SerialPort::readAll() {
    return line_->port.isOpen() ? line_->port.readAll() : QByteArray();
}

void SerialPort::discardInput() {
    QSerialPort& port = line_->port;
    if (!port.isOpen()) return;
    port.readAll();
    port.clear(QSerialPort::Input);
}

}  // namespace baldo7
