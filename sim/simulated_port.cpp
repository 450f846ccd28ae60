#include "sim/simulated_port.h"

#include <QDeadlineTimer>
#include <algorithm>

namespace baldo7::sim {

namespace {
// The timer counts whole milliseconds; waking within half of one of a byte's time
// keeps the average error near zero instead of a millisecond late every reply.
constexpr std::int64_t kEarlyNs = 500000;
}  // namespace

std::int64_t SimulatedPort::nowNs() {
    return QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs();
}

SimulatedPort::SimulatedPort(RadioSimulator& radio, bool paced, QObject* parent)
    : LinkPort(parent), radio_(radio), paced_(paced) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SimulatedPort::advance);
}

SimulatedPort::~SimulatedPort() {
    SimulatedPort::close();
}

bool SimulatedPort::open(const QString& setting) {
    close();
    name_ = setting;
    open_ = true;
    return true;
}

void SimulatedPort::close() {
    timer_.stop();
    // What was already on the line still reaches the radio (the end byte, sent
    // just before the close); its answers go nowhere.
    while (!incoming_.empty()) {
        feed(incoming_.front());
        incoming_.pop_front();
    }
    outgoing_.clear();
    buffer_.clear();
    threshold_ = 0;
    open_ = false;
}

bool SimulatedPort::send(const QByteArray& bytes) {
    if (!open_) return false;
    const std::int64_t now = nowNs();
    for (const char c : bytes) {
        rxFreeNs_ = std::max(rxFreeNs_, now) + (paced_ ? wire::kByteTimeNs : 0);
        incoming_.push_back({rxFreeNs_, static_cast<std::uint8_t>(c)});
    }
    schedule();
    return true;
}

void SimulatedPort::setReceiveThreshold(int bytes) {
    threshold_ = std::max(bytes, 0);
    schedule();
}

QByteArray SimulatedPort::readAll() {
    QByteArray out;
    out.swap(buffer_);
    return out;
}

void SimulatedPort::discardInput() {
    buffer_.clear();
    // Bytes already due count as received; the rest are still on the line.
    const std::int64_t now = nowNs();
    while (!outgoing_.empty() && outgoing_.front().atNs <= now) outgoing_.pop_front();
}

void SimulatedPort::feed(const Pending& in) {
    const std::vector<Reply> replies = radio_.receive(&in.byte, 1, in.atNs / 1000000);
    for (const Reply& r : replies) {
        const std::int64_t due = in.atNs + static_cast<std::int64_t>(r.delayMs) * 1000000LL;
        // One transmitter: a reply never overtakes an earlier (delayed) one.
        for (const std::uint8_t b : r.bytes) {
            txFreeNs_ = std::max(txFreeNs_, due) + (paced_ ? wire::kByteTimeNs : 0);
            outgoing_.push_back({txFreeNs_, b});
        }
    }
}

void SimulatedPort::advance() {
    if (!open_) return;
    const std::int64_t now = nowNs() + kEarlyNs;
    // Interleaved by time: a reply may start while later request bytes are still coming.
    while (!incoming_.empty() && incoming_.front().atNs <= now) {
        const Pending in = incoming_.front();
        incoming_.pop_front();
        feed(in);
    }
    while (!outgoing_.empty() && outgoing_.front().atNs <= now) {
        buffer_.append(static_cast<char>(outgoing_.front().byte));
        outgoing_.pop_front();
    }
    if (threshold_ > 0 && buffer_.size() >= threshold_) {
        // Taken before the signal: a handler that pumps events (a message box)
        // must not see these bytes a second time.
        QByteArray bytes;
        bytes.swap(buffer_);
        emit received(bytes);
    }
    schedule();
}

void SimulatedPort::schedule() {
    if (!open_) return;
    std::int64_t next = INT64_MAX;
    if (!incoming_.empty()) next = incoming_.front().atNs;
    if (threshold_ > 0) {
        if (buffer_.size() >= threshold_) {
            next = 0;
        } else if (!outgoing_.empty()) {
            // Wake when the threshold is met, or at the last byte on its way.
            const std::size_t missing = static_cast<std::size_t>(threshold_ - buffer_.size());
            const std::size_t i = std::min(missing, outgoing_.size()) - 1;
            next = std::min(next, outgoing_[i].atNs);
        }
    }
    if (next == INT64_MAX) {
        timer_.stop();
        return;
    }
    const std::int64_t waitNs = std::max<std::int64_t>(next - nowNs() - kEarlyNs, 0);
    timer_.start(static_cast<int>((waitNs + 999999) / 1000000));
}

}  // namespace baldo7::sim
