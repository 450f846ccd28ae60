// A port with the radio inside this program: the bytes sent go to a RadioSimulator
// and its replies come back through the event loop, each byte taking its ten bits
// at 9600 baud in either direction when paced. Single-shot timers keep the time;
// nothing sleeps, so it works wherever Qt does, with no pseudo-terminal.
#pragma once

#include <QTimer>
#include <cstdint>
#include <deque>

#include "link/link_port.h"
#include "sim/radio_simulator.h"

namespace baldo7::sim {

class SimulatedPort : public LinkPort {
    Q_OBJECT
public:
    // The radio outlives the port: its memory carries over from one session to the next.
    explicit SimulatedPort(RadioSimulator& radio, bool paced = true, QObject* parent = nullptr);
    ~SimulatedPort() override;

    bool open(const QString& setting) override;
    bool isOpen() const override { return open_; }
    void close() override;
    QString deviceName() const override { return name_; }
    PortError openError() const override { return PortError::NoError; }
    QString openFailureText(bool) const override { return {}; }

    using LinkPort::send;
    bool send(const QByteArray& bytes) override;

    void setReceiveThreshold(int bytes) override;
    int receiveThreshold() const override { return threshold_; }
    int bytesBuffered() const override { return static_cast<int>(buffer_.size()); }
    QByteArray readAll() override;
    void discardInput() override;

    // Monotonic time in nanoseconds, the clock the radio sees.
    static std::int64_t nowNs();

private:
    struct Pending {
        std::int64_t atNs;  // when the byte has crossed the line
        std::uint8_t byte;
    };

    // Moves every byte that has crossed the line by `nowNs`, notifies, and sets
    // the timer for the next one.
    void advance();
    void feed(const Pending& in);
    void schedule();

    RadioSimulator& radio_;
    bool paced_;
    bool open_ = false;
    QString name_;
    QTimer timer_;
    int threshold_ = 0;
    QByteArray buffer_;
    std::deque<Pending> incoming_;  // on the way to the radio
    std::deque<Pending> outgoing_;  // on the way back
    std::int64_t rxFreeNs_ = 0;
    std::int64_t txFreeNs_ = 0;
};

}  // namespace baldo7::sim
