// The simulator on a real pseudo-terminal, driven through the serial adapter (a
// real QSerialPort), in-process and as the baldo7-sim tool.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>

#include "core/data_file.h"
#include "link/serial_port.h"
#include "sim/pty_simulator.h"
#include "tests/serial/pty_support.h"

using namespace baldo7::sim;
namespace wire = baldo7::wire;
using baldo7::SerialPort;
using baldo7::testing::app;
using baldo7::testing::pumpUntil;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes toBytes(const QByteArray& a) {
    return Bytes(a.begin(), a.end());
}

// One request and its answer, the way the programming window waits for it.
struct Line {
    SerialPort port;
    QByteArray got;
    Line() {
        app();
        QObject::connect(&port, &SerialPort::received, [this](const QByteArray& b) { got += b; });
    }
    Bytes ask(const Bytes& request, int expect) {
        got.clear();
        port.setReceiveThreshold(expect);
        port.send(request);
        pumpUntil([&] { return got.size() >= expect; }, 3000);
        return toBytes(got);
    }
    void handshake() {
        ASSERT_EQ(
            ask(Bytes(wire::kIdentification, wire::kIdentification + wire::kIdentificationSize), 1),
            Bytes{wire::kAck});
        ASSERT_EQ(ask({wire::kStart}, 8).size(), 8u);
        ASSERT_EQ(ask({wire::kAck}, 1), Bytes{wire::kAck});
    }
};

Memory pattern() {
    Memory m;
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = static_cast<std::uint8_t>(i * 13 + 1);
    return m;
}

TEST(PtySimulator, PlainReadThroughASerialPortAndASecondSession) {
    PtySimulator sim;
    sim.setMemory(pattern());
    std::atomic<int> ended{0};
    std::atomic<bool> completed{false};
    sim.setSessionEndHandler([&](bool c) {
        completed = c;
        ++ended;
    });
    std::string error;
    ASSERT_TRUE(sim.start(&error)) << error;

    Line line;
    ASSERT_TRUE(line.port.open(QString::fromStdString(sim.devicePath())));
    line.handshake();
    Bytes image;
    for (int a = 0; a < 0x400; a += 16) {
        const Bytes frame = line.ask({wire::kReadRequest, static_cast<std::uint8_t>(a >> 8),
                                      static_cast<std::uint8_t>(a), 0x10},
                                     20);
        ASSERT_EQ(frame.size(), 20u) << a;
        EXPECT_EQ(frame[0], wire::kDataBlock);
        EXPECT_EQ(frame[1] << 8 | frame[2], a);
        image.insert(image.end(), frame.begin() + 4, frame.end());
        ASSERT_EQ(line.ask({wire::kAck}, 1), Bytes{wire::kAck});
    }
    const Memory m = pattern();
    EXPECT_EQ(image, Bytes(m.begin(), m.begin() + 0x400));
    line.port.send(Bytes{wire::kEnd});
    ASSERT_TRUE(pumpUntil([&] { return ended == 1; }));
    EXPECT_TRUE(completed);

    // The program closes the port between sessions; the radio is still there.
    line.port.close();
    ASSERT_TRUE(line.port.open(QString::fromStdString(sim.devicePath())));
    line.handshake();
    Bytes frame(20, 0xC3);  // a block of sixteen 0xC3 for 0x2F0
    frame[0] = wire::kDataBlock;
    frame[1] = 0x02;
    frame[2] = 0xF0;
    frame[3] = 0x10;
    EXPECT_EQ(line.ask(frame, 1), Bytes{wire::kAck});
    EXPECT_EQ(sim.memory()[0x2F0], 0xC3);
    EXPECT_EQ(sim.stats().blocksRead, 64);
}

// Paced, the answer to a read request cannot come before its 24 bytes have
// crossed the line at 9600 baud; unpaced it is no slower than that.
TEST(PtySimulator, PacingTakesTheLineTimeOfRequestAndReply) {
    PtySimulator sim;
    sim.setPaced(true);
    ASSERT_TRUE(sim.start());
    Line line;
    ASSERT_TRUE(line.port.open(QString::fromStdString(sim.devicePath())));
    line.handshake();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(line.ask({wire::kReadRequest, 0, 0, 0x10}, 20).size(), 20u);
    const qint64 minimumNs = 4 * 24 * wire::kByteTimeNs;
    EXPECT_GE(t.nsecsElapsed(), minimumNs);
}

struct Tool {
    QProcess process;
    QString device;
    bool start(const QStringList& args) {
        app();
        QString exe = qEnvironmentVariable("BALDO7_BIN", BALDO7_BIN_DIR) + "/baldo7-sim";
        process.start(exe, args);
        if (!process.waitForStarted(3000)) return false;
        if (!pumpUntil(
                [&] { return process.canReadLine() || process.state() == QProcess::NotRunning; },
                3000))
            return false;
        device = QString::fromLocal8Bit(process.readLine()).trimmed();
        return device.startsWith("/dev/");
    }
};

TEST(SimTool, LoadsAFileAnswersAndDumpsAtTheEndOfASession) {
    QTemporaryDir dir;
    baldo7::RadioImage image;
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i);
    image[baldo7::addr::kModelDigit] = 0x32;
    const auto file = baldo7::EncodeDataFile(image, baldo7::SoftwareData{});
    const QString rdat = dir.filePath("radio.rdat"), dump = dir.filePath("dump.bin");
    QFile f(rdat);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(file.data()), static_cast<qint64>(file.size()));
    f.close();

    Tool tool;
    ASSERT_TRUE(tool.start(
        {"--load", rdat, "--dump", dump, "--once", "--fill=0x5A", "--special-code", "0x30"}));
    Line line;
    ASSERT_TRUE(line.port.open(tool.device));
    ASSERT_EQ(
        line.ask(Bytes(wire::kIdentification, wire::kIdentification + wire::kIdentificationSize),
                 1),
        Bytes{wire::kAck});
    const Bytes ident = line.ask({wire::kStart}, 8);
    ASSERT_EQ(ident.size(), 8u);
    EXPECT_EQ(ident[1], 0x32);
    EXPECT_EQ(ident[3], 0x30);
    ASSERT_EQ(line.ask({wire::kAck}, 1), Bytes{wire::kAck});
    Bytes frame{wire::kDataBlock, 0x0B, 0x80, 0x10};
    frame.resize(20, 0xEE);
    ASSERT_EQ(line.ask(frame, 1), Bytes{wire::kAck});
    line.port.send(Bytes{wire::kEnd});

    ASSERT_TRUE(tool.process.waitForFinished(3000));
    EXPECT_EQ(tool.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.process.exitCode(), 0);
    QFile d(dump);
    ASSERT_TRUE(d.open(QIODevice::ReadOnly));
    const Bytes m = toBytes(d.readAll());
    ASSERT_EQ(m.size(), baldo7::kRadioMemorySize);
    EXPECT_EQ(Bytes(m.begin(), m.begin() + 0x400), Bytes(image.begin(), image.end()));
    EXPECT_EQ(Bytes(m.begin() + 0xB80, m.begin() + 0xB90), Bytes(16, 0xEE));
    EXPECT_EQ(m[0x400], 0x5A);
    EXPECT_EQ(m[0xFFF], 0x5A);
}

TEST(SimTool, DumpsOnTermination) {
    QTemporaryDir dir;
    const QString dump = dir.filePath("dump.bin");
    Tool tool;
    ASSERT_TRUE(tool.start({"--dump", dump}));
    tool.process.terminate();
    ASSERT_TRUE(tool.process.waitForFinished(3000));
    EXPECT_EQ(tool.process.exitCode(), 0);
    EXPECT_EQ(QFile(dump).size(), static_cast<qint64>(baldo7::kRadioMemorySize));
}

}  // namespace
