#include "link/serial_port.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

#include "tests/serial/pty_support.h"

using baldo7::SerialPort;
using baldo7::testing::app;
using baldo7::testing::PtyPair;
using baldo7::testing::pumpUntil;

namespace {

struct OpenPort {
    PtyPair pty;
    SerialPort port;
    std::vector<QByteArray> got;
    OpenPort() {
        app();
        QObject::connect(&port, &SerialPort::received,
                         [this](const QByteArray& b) { got.push_back(b); });
    }
};

std::vector<std::uint8_t> bytesOf(int n, int from = 0) {
    std::vector<std::uint8_t> v;
    for (int i = 0; i < n; ++i) v.push_back(static_cast<std::uint8_t>(from + i));
    return v;
}

TEST(SerialPortNames, SettingsMapToDevices) {
    struct Case {
        const char* setting;
        const char* device;
        int number;
    } cases[] = {
        {"1", "/dev/ttyS0", 1},
        {"3", "/dev/ttyS2", 3},
        {"COM4", "/dev/ttyS3", 4},
        {"com12", "/dev/ttyS11", 12},
        {"ttyUSB0", "/dev/ttyUSB0", 0},
        {"/dev/pts/7", "/dev/pts/7", 0},
        {" /dev/ttyACM0 ", "/dev/ttyACM0", 0},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(baldo7::resolveSerialPortName(c.setting), QString(c.device)) << c.setting;
        EXPECT_EQ(baldo7::serialPortNumber(c.setting), c.number) << c.setting;
    }
}

// Notification once the threshold is met, carrying every buffered byte; nothing
// below it; nothing at threshold 0.
TEST(SerialPortThreshold, NotifiesOnceWithAllBufferedBytes) {
    struct Case {
        int threshold;
        std::vector<int> chunks;         // bytes written, one write each
        std::vector<int> notifications;  // sizes expected, in order
    } cases[] = {
        {1, {1}, {1}},    {8, {5, 3}, {8}},  {8, {5}, {}},
        {20, {25}, {25}}, {20, {10, 9}, {}}, {0, {4}, {}},
    };
    for (const auto& c : cases) {
        OpenPort p;
        ASSERT_TRUE(p.pty.ok());
        ASSERT_TRUE(p.port.open(p.pty.path));
        p.port.setReceiveThreshold(c.threshold);
        int written = 0;
        auto taken = [&] {
            int n = 0;
            for (const auto& b : p.got) n += static_cast<int>(b.size());
            return n;
        };
        for (const int n : c.chunks) {
            p.pty.write(bytesOf(n, written));
            written += n;
            // Wait for the bytes themselves, so "no notification" is not luck.
            ASSERT_TRUE(pumpUntil([&] { return taken() + p.port.bytesBuffered() >= written; }));
        }
        ASSERT_EQ(p.got.size(), c.notifications.size()) << "threshold " << c.threshold;
        int offset = 0;
        for (std::size_t i = 0; i < p.got.size(); ++i) {
            EXPECT_EQ(p.got[i].size(), c.notifications[i]);
            for (int k = 0; k < p.got[i].size(); ++k)
                EXPECT_EQ(static_cast<std::uint8_t>(p.got[i][k]), offset + k);
            offset += static_cast<int>(p.got[i].size());
        }
    }
}

TEST(SerialPortThreshold, ArmingAMetThresholdNotifiesLaterNotInline) {
    OpenPort p;
    ASSERT_TRUE(p.port.open(p.pty.path));
    p.pty.write(bytesOf(8));
    ASSERT_TRUE(pumpUntil([&] { return p.port.bytesBuffered() == 8; }));
    p.port.setReceiveThreshold(8);
    EXPECT_TRUE(p.got.empty());
    ASSERT_TRUE(pumpUntil([&] { return !p.got.empty(); }));
    EXPECT_EQ(p.got[0].size(), 8);
    EXPECT_EQ(p.port.bytesBuffered(), 0);
}

TEST(SerialPortSend, BytesReachTheLineAtOnce) {
    OpenPort p;
    ASSERT_TRUE(p.port.open(p.pty.path));
    const std::vector<std::uint8_t> frame{0x52, 0x03, 0xF0, 0x10};
    ASSERT_TRUE(p.port.send(frame));
    // No event loop between send and read: the adapter must not hold the bytes.
    EXPECT_EQ(p.pty.read(frame.size()), frame);
}

// The window's text names the device, why it would not open and what to do; only a
// device the user may not open gets the group hint.
TEST(SerialPortOpen, MissingOrBusyDeviceIsNamedWithTheReasonAndARemedy) {
    PtyPair pty;
    SerialPort holder;
    ASSERT_TRUE(holder.open(pty.path));
    const struct {
        QString device;
        const char* en;
        const char* zh;
        QStringList enRemedies;     // one of them starts the last line
        QString shown = QString();  // the port as named: the device when empty
    } cases[] = {
        {"/dev/baldo7-no-such-port",
         "no such device",
         "设备不存在",
         {"Plug in the cable, or choose a port that exists: ",
          "No serial port was found on this computer"}},
        // Held by this very program: no other program to name.
        {pty.path,
         "it is in use by another program",
         "它正被其他程序占用",
         {"Close the other program that uses the port"}},
        // A number or COMn names a device of its own: both are said, the typed one first.
        {"COM200",
         "no such device",
         "设备不存在",
         {"Plug in the cable, or choose a port that exists: ",
          "No serial port was found on this computer"},
         "COM200 (/dev/ttyS199)"},
        // Set Com stores a typed COMn as its number: it is still named as typed.
        {"200",
         "no such device",
         "设备不存在",
         {"Plug in the cable, or choose a port that exists: ",
          "No serial port was found on this computer"},
         "COM200 (/dev/ttyS199)"},
    };
    for (const auto& c : cases) {
        SerialPort port;
        EXPECT_FALSE(port.open(c.device)) << c.device.toStdString();
        EXPECT_FALSE(port.isOpen());
        const QStringList en = port.openFailureText(true).split('\n');
        ASSERT_EQ(en.size(), 3) << en.join('|').toStdString();
        EXPECT_EQ(en[0], "Please reselect COM port!");
        const QString shown = c.shown.isEmpty() ? c.device : c.shown;
        EXPECT_EQ(en[1], "Cannot open " + shown + ": " + c.en + ".");
        EXPECT_TRUE(std::any_of(c.enRemedies.begin(), c.enRemedies.end(), [&](const QString& r) {
            return en[2].startsWith(r);
        })) << en[2].toStdString();
        const QStringList zh = port.openFailureText(false).split('\n');
        ASSERT_EQ(zh.size(), 3);
        EXPECT_EQ(zh[1], QString::fromUtf8("无法打开 ") + shown + QString::fromUtf8("：") +
                             QString::fromUtf8(c.zh) + QString::fromUtf8("。"));
        EXPECT_FALSE(zh[2].isEmpty());
        EXPECT_FALSE(port.send(std::vector<std::uint8_t>{0x06}));
    }
}

// A cable plugged in whose serial port was taken away (the braille display daemon on
// some systems) is found from the USB devices' folder, and the text says what to do.
TEST(SerialPortCables, APluggedInCableWithoutAPortIsNamed) {
    using namespace baldo7;
    QTemporaryDir usb;
    const struct {
        const char* entry;
        const char* vendor;
        const char* product;
    } devices[] = {{"1-1", "1a86", "7523"}, {"1-2", "10c4", "ea60"}, {"1-3", "046d", "c077"}};
    for (const auto& d : devices) {
        ASSERT_TRUE(QDir(usb.path()).mkpath(d.entry));
        for (const auto& [file, text] :
             {std::pair{"idVendor", d.vendor}, {"idProduct", d.product}}) {
            QFile f(usb.filePath(QString(d.entry) + "/" + file));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(text) + "\n");
        }
    }
    ASSERT_TRUE(QDir(usb.path()).mkpath("usb1"));  // a hub without ids of its own
    SerialPortEntry cp210x;
    cp210x.location = "/dev/ttyUSB0";
    cp210x.vendorId = 0x10c4;
    cp210x.productId = 0xea60;
    const struct {
        QList<SerialPortEntry> ports;
        QStringList taken;
    } cases[] = {
        {{}, {"CH340 (1a86:7523)", "CP210x (10c4:ea60)"}},
        {{cp210x}, {"CH340 (1a86:7523)"}},
    };
    for (const auto& c : cases) EXPECT_EQ(usbCablesWithoutPort(usb.path(), c.ports), c.taken);
    EXPECT_TRUE(usbCablesWithoutPort(usb.filePath("missing"), {}).isEmpty());

    const QString en = cableTakenText({"CH340 (1a86:7523)"}, true);
    EXPECT_TRUE(en.startsWith("The cable CH340 (1a86:7523) is plugged in")) << en.toStdString();
    EXPECT_TRUE(en.contains("sudo systemctl mask brltty-udev.service brltty.service"));
    EXPECT_TRUE(cableTakenText({"CH340 (1a86:7523)"}, false).contains("盲文"));
    EXPECT_TRUE(cableTakenText({}, true).isEmpty());
}

// Another program holding the port is named, and daemons known to grab serial
// adapters come with the command that stops them. The holders are real processes
// whose name is the daemon's.
TEST(SerialPortOpen, BusyPortNamesItsHolderAndTheRemedy) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    QTemporaryDir bin;
    const struct {
        const char* program;
        const char* enRemedy;  // %1: the process id
        const char* zhRemedy;
    } cases[] = {
        {"ModemManager",
         "ModemManager probes serial adapters; stop it (sudo systemctl stop "
         "ModemManager) and try again.",
         "sudo systemctl stop ModemManager"},
        {"brltty",
         "brltty probes serial adapters; stop it (sudo systemctl stop brltty; sudo apt "
         "remove brltty) and try again.",
         "sudo apt remove brltty"},
        {"minicom", "Close minicom (process %1) and try again.",
         "请关闭 minicom（进程 %1）后重试。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        const QString exe = bin.filePath(c.program);
        ASSERT_TRUE(QFile::link("/bin/sleep", exe));
        QProcess holder;
        holder.start("/bin/sh", {"-c", "exec \"$0\" 30 <>\"$1\"", exe, pty.path});
        ASSERT_TRUE(holder.waitForStarted());
        const qint64 pid = holder.processId();
        ASSERT_TRUE(pumpUntil([&] {
            const auto h = baldo7::serialPortHolders(pty.path);
            return h.size() == 1 && h[0].program == c.program;
        }));
        EXPECT_EQ(baldo7::serialPortHolders(pty.path)[0].pid, pid);
        const QString en = baldo7::serialPortDiagnosis(pty.path, baldo7::PortError::InUse, true);
        EXPECT_EQ(en, QString("Cannot open %1: it is in use by %2 (process %3).\n")
                              .arg(pty.path, c.program)
                              .arg(pid) +
                          QString(c.enRemedy).replace("%1", QString::number(pid)));
        const QString zh = baldo7::serialPortDiagnosis(pty.path, baldo7::PortError::InUse, false);
        EXPECT_TRUE(zh.contains(QString::fromUtf8(c.zhRemedy).replace("%1", QString::number(pid))))
            << zh.toStdString();
        EXPECT_TRUE(
            zh.contains(QString::fromUtf8("它正被 %1（进程 %2）占用").arg(c.program).arg(pid)))
            << zh.toStdString();
        holder.kill();
        holder.waitForFinished();
    }
}

// A device the user may not open names the group that grants access. Run as an
// unprivileged child so the check holds for root as well.
TEST(SerialPortOpen, DeniedDeviceNamesItsGroup) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    const QString group = baldo7::deviceGroupName(pty.path);
    ASSERT_FALSE(group.isEmpty());
    ::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(10);
        } else if (::chmod(pty.path.toLocal8Bit().constData(), 0) != 0) {
            ::_exit(10);
        }
        SerialPort port;
        if (port.open(pty.path)) ::_exit(11);
        const QString en = port.openFailureText(true);
        const QString zh = port.openFailureText(false);
        if (en != "Please reselect COM port!\nCannot open " + pty.path +
                      ": permission denied.\nAccess to " + pty.path +
                      " is granted to the group \"" + group +
                      "\": add your user to it (sudo usermod -aG " + group +
                      " $USER) and log in again.")
            ::_exit(12);
        if (!zh.startsWith(QString::fromUtf8("请重新选择端口！")) || !zh.contains(group))
            ::_exit(13);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
