// The byte line the exchange host talks to: a real serial port (link/serial_port.h)
// or a radio inside this program (sim/simulated_port.h). Bytes go out with send();
// bytes come back through received() once at least the receive threshold of them
// are buffered, always from the event loop.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

namespace baldo7 {

// Why a line would not open. The serial adapters map their system's errors to it, so
// the reasons read the same on every system.
enum class PortError {
    NoError,
    DeviceNotFound,
    PermissionDenied,
    InUse,
    UnsupportedSettings,
    Other,
};

// Lines a cable may draw its power from. Unset lines are left as the driver sets them.
struct CablePower {
    bool dtr = false;
    bool rts = false;
};

class LinkPort : public QObject {
    Q_OBJECT
public:
    explicit LinkPort(QObject* parent = nullptr) : QObject(parent) {}

    // Opens the line. On failure returns false and openError() holds the reason.
    virtual bool open(const QString& setting) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    virtual QString deviceName() const = 0;
    virtual PortError openError() const = 0;
    virtual QString openFailureText(bool isEnglish) const = 0;
    // Only a real cable has lines to power it from.
    virtual void setCablePower(CablePower) {}

    virtual bool send(const QByteArray& bytes) = 0;
    bool send(const std::vector<std::uint8_t>& bytes) {
        return send(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                               static_cast<qsizetype>(bytes.size())));
    }

    // 0 turns notifications off. Arming a threshold that the buffered bytes
    // already meet notifies on the next event-loop pass, not inside this call.
    virtual void setReceiveThreshold(int bytes) = 0;
    virtual int receiveThreshold() const = 0;
    virtual int bytesBuffered() const = 0;
    virtual QByteArray readAll() = 0;
    virtual void discardInput() = 0;

signals:
    // Every buffered byte, at least receiveThreshold() of them.
    void received(const QByteArray& bytes);
};

}  // namespace baldo7
