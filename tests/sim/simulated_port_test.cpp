// The simulator engine on the in-process port: the exchange's requests and answers
// through the event loop, the receive threshold, and the radio's memory kept from
// one port to the next.
#include <gtest/gtest.h>

#include "sim/simulated_port.h"
#include "tests/serial/event_loop.h"

using namespace baldo7::sim;
namespace wire = baldo7::wire;
using baldo7::testing::app;
using baldo7::testing::pumpUntil;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Line {
    SimulatedPort port;
    QByteArray got;
    int notifications = 0;
    Line(RadioSimulator& radio, bool paced) : port(radio, paced) {
        app();
        QObject::connect(&port, &SimulatedPort::received, [this](const QByteArray& b) {
            got += b;
            ++notifications;
        });
        port.open("simulated-radio");
    }
    Bytes ask(const Bytes& request, int expect) {
        got.clear();
        notifications = 0;
        port.setReceiveThreshold(expect);
        port.send(request);
        pumpUntil([&] { return got.size() >= expect; }, 3000);
        return Bytes(got.begin(), got.end());
    }
    void handshake() {
        ASSERT_EQ(
            ask(Bytes(wire::kIdentification, wire::kIdentification + wire::kIdentificationSize), 1),
            Bytes{wire::kAck});
        ASSERT_EQ(ask({wire::kStart}, 8).size(), 8u);
        ASSERT_EQ(ask({wire::kAck}, 1), Bytes{wire::kAck});
    }
};

TEST(SimulatedPort, ReadsAndWritesABlockPacedOrNot) {
    for (const bool paced : {false, true}) {
        SCOPED_TRACE(paced);
        RadioSimulator radio;
        for (std::size_t i = 0; i < baldo7::kRadioMemorySize; ++i)
            radio.memory()[i] = std::uint8_t(i * 7);
        Line line(radio, paced);
        line.handshake();

        const Bytes block = line.ask({wire::kReadRequest, 0x01, 0x20, 0x10}, 20);
        ASSERT_EQ(block.size(), 20u);
        EXPECT_EQ(Bytes(block.begin(), block.begin() + 4),
                  (Bytes{wire::kDataBlock, 0x01, 0x20, 0x10}));
        for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(block[4 + i], std::uint8_t((0x120 + i) * 7));
        EXPECT_EQ(line.notifications, 1);  // the whole block in one notification
        ASSERT_EQ(line.ask({wire::kAck}, 1), Bytes{wire::kAck});

        Bytes write{wire::kDataBlock, 0x02, 0x00, 0x10};
        for (int i = 0; i < 16; ++i) write.push_back(std::uint8_t(0xA0 + i));
        ASSERT_EQ(line.ask(write, 1), Bytes{wire::kAck});
        EXPECT_EQ(radio.memory()[0x200], 0xA0);
        EXPECT_EQ(radio.memory()[0x20F], 0xAF);
    }
}

TEST(SimulatedPort, ThresholdAlreadyMetNotifiesFromTheEventLoop) {
    RadioSimulator radio;
    Line line(radio, false);
    line.port.send(Bytes(wire::kIdentification, wire::kIdentification + wire::kIdentificationSize));
    ASSERT_TRUE(pumpUntil([&] { return line.port.bytesBuffered() == 1; }, 3000));
    EXPECT_TRUE(line.got.isEmpty());  // no threshold armed: held, not delivered
    line.port.setReceiveThreshold(1);
    EXPECT_TRUE(line.got.isEmpty());  // not inside the call
    ASSERT_TRUE(pumpUntil([&] { return !line.got.isEmpty(); }, 3000));
    EXPECT_EQ(line.got, QByteArray(1, char(wire::kAck)));
    EXPECT_EQ(line.port.bytesBuffered(), 0);

    // Discarded input is gone; a closed port sends nothing.
    line.port.setReceiveThreshold(0);
    line.port.send(Bytes{wire::kStart});
    ASSERT_TRUE(pumpUntil([&] { return line.port.bytesBuffered() == 8; }, 3000));
    line.port.discardInput();
    EXPECT_EQ(line.port.bytesBuffered(), 0);
    line.port.close();
    EXPECT_FALSE(line.port.send(Bytes{wire::kAck}));
}

// The end byte is sent just before the port closes: the radio still gets it, and
// the next port finds the session over and the memory as written.
TEST(SimulatedPort, EndByteBeforeCloseReachesTheRadio) {
    RadioSimulator radio;
    {
        Line line(radio, true);
        line.handshake();
        Bytes write{wire::kDataBlock, 0x00, 0x40, 0x10};
        for (int i = 0; i < 16; ++i) write.push_back(0x5A);
        ASSERT_EQ(line.ask(write, 1), Bytes{wire::kAck});
        line.port.send(Bytes{wire::kEnd});
        line.port.close();
    }
    EXPECT_EQ(radio.stats().sessionsEnded, 1);
    EXPECT_TRUE(radio.stats().lastEndCompleted);
    EXPECT_EQ(radio.phase(), Phase::Idle);
    Line again(radio, true);
    again.handshake();
    EXPECT_EQ(again.ask({wire::kReadRequest, 0x00, 0x40, 0x10}, 20)[4], 0x5A);
}

}  // namespace
