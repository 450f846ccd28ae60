// The Windows serial line. The open failures need no port; the line tests run where
// BALDO7_TEST_COM names a port with a radio behind it (under wine: a COM port mapped
// to a baldo7-sim pseudo-terminal).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <algorithm>

#include "link/serial_port.h"
#include "link/transfer_ranges.h"

using baldo7::PortError;
using baldo7::SerialPort;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_serial_win";
    static char* argv[] = {name, nullptr};
    static QCoreApplication a(argc, argv);
    return a;
}

// Runs the event loop until done() or ten seconds: a generous bound on a line
// that answers in milliseconds, there only so a broken line fails instead of hanging.
template <typename F>
bool pumpUntil(F done) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > 10000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QString testPort() {
    return qEnvironmentVariable("BALDO7_TEST_COM");
}

TEST(SerialWin, PortsThatDoNotOpenSayWhy) {
    app();
    struct Case {
        const char* setting;
        PortError error;
        const char* en;
        const char* zh;
    } cases[] = {
        {"COM200", PortError::DeviceNotFound, "Cannot open COM200: no such device.",
         "无法打开 COM200：设备不存在。"},
        // A port kept as its number is named as the user typed it in Set Com.
        {"199", PortError::DeviceNotFound, "Cannot open COM199: no such device.",
         "无法打开 COM199：设备不存在。"},
        {"NOSUCHPORT", PortError::DeviceNotFound, "Cannot open NOSUCHPORT: no such device.",
         "无法打开 NOSUCHPORT：设备不存在。"},
        {"", PortError::DeviceNotFound, "Cannot open the port: no such device.",
         "无法打开 端口：设备不存在。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        SerialPort port;
        EXPECT_FALSE(port.open(QString::fromLatin1(c.setting)));
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(port.openError(), c.error);
        EXPECT_EQ(port.openFailureText(true).section('\n', 1, 1), QString::fromUtf8(c.en));
        EXPECT_EQ(port.openFailureText(false).section('\n', 1, 1), QString::fromUtf8(c.zh));
        EXPECT_FALSE(port.send(QByteArray("x")));
    }
}

TEST(SerialWin, SystemPortsAreNumberedAndOrdered) {
    const QList<baldo7::SerialPortEntry> ports = baldo7::availableSerialPorts();
    for (qsizetype i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i].location, ports[i].name);
        EXPECT_GT(ports[i].number, 0) << ports[i].name.toStdString();
        if (i > 0) {
            EXPECT_LT(ports[i - 1].number, ports[i].number);
        }
    }
    const QString com = testPort();
    if (com.isEmpty()) return;
    const bool listed = std::any_of(ports.begin(), ports.end(), [&](const auto& e) {
        return e.name.compare(com, Qt::CaseInsensitive) == 0;
    });
    EXPECT_TRUE(listed) << com.toStdString();
}

// The radio's answer to the identification comes back through the event loop, once,
// when the threshold is met. (Wine lets a second handle open a busy port, so the
// "in use" answer of Windows cannot be shown here.)
TEST(SerialWin, RadioAnswersOverTheLine) {
    app();
    const QString com = testPort();
    if (com.isEmpty()) GTEST_SKIP() << "BALDO7_TEST_COM not set";
    SerialPort port;
    port.setCablePower({true, true});
    ASSERT_TRUE(port.open(com)) << port.openFailureText(true).toStdString();

    std::vector<QByteArray> got;
    QObject::connect(&port, &SerialPort::received, [&](const QByteArray& b) { got.push_back(b); });
    port.setReceiveThreshold(1);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        got.clear();
        ASSERT_TRUE(port.send(QByteArray(baldo7::wire::kIdentification, 7)));
        ASSERT_TRUE(pumpUntil([&] { return !got.empty(); }));
        EXPECT_EQ(got.front(), QByteArray(1, char(baldo7::wire::kAck)));
        EXPECT_EQ(port.bytesBuffered(), 0);
    }

    // Bytes below the threshold wait in the buffer; discarding drops them.
    port.setReceiveThreshold(2);
    got.clear();
    ASSERT_TRUE(port.send(QByteArray(baldo7::wire::kIdentification, 7)));
    ASSERT_TRUE(pumpUntil([&] { return port.bytesBuffered() == 1; }));
    EXPECT_TRUE(got.empty());
    port.discardInput();
    EXPECT_EQ(port.bytesBuffered(), 0);
    EXPECT_TRUE(port.readAll().isEmpty());

    // Closing ends the reader's waiting read; the port opens again at once.
    port.close();
    EXPECT_FALSE(port.isOpen());
    ASSERT_TRUE(port.open(com)) << port.openFailureText(true).toStdString();
    got.clear();
    port.setReceiveThreshold(1);
    ASSERT_TRUE(port.send(QByteArray(baldo7::wire::kIdentification, 7)));
    ASSERT_TRUE(pumpUntil([&] { return !got.empty(); }));
}

}  // namespace
