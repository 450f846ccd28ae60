#include "link/serial_port.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

#include "link/exchange_texts.h"

namespace baldo7 {

namespace {

bool isAllDigits(const QString& s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c.isDigit(); });
}

const QRegularExpression& comPattern() {
    static const QRegularExpression re(QStringLiteral("^COM(\\d+)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

}  // namespace

QString serialPortNameForNumber(int number) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    // COM1 is the first on-board port, /dev/ttyS0.
    return QStringLiteral("/dev/ttyS%1").arg(std::max(number, 1) - 1);
#endif
}

int serialPortNumber(const QString& setting) {
    const QString s = setting.trimmed();
    if (isAllDigits(s)) return s.toInt();
    const auto m = comPattern().match(s);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString resolveSerialPortName(const QString& setting) {
    const QString s = setting.trimmed();
    if (const int n = serialPortNumber(s); n > 0) return serialPortNameForNumber(n);
#ifdef Q_OS_WIN
    return s;
#else
    if (s.isEmpty() || s.startsWith(QLatin1Char('/'))) return s;
    return QStringLiteral("/dev/") + s;
#endif
}

QString serialPortOpenFailureReason(PortError error, bool isEnglish) {
    switch (error) {
        case PortError::DeviceNotFound:
            return isEnglish ? QStringLiteral("no such device") : QStringLiteral("设备不存在");
        case PortError::PermissionDenied:
            return isEnglish ? QStringLiteral("permission denied") : QStringLiteral("没有访问权限");
        case PortError::InUse:
            return isEnglish ? QStringLiteral("it is in use by another program")
                             : QStringLiteral("它正被其他程序占用");
        case PortError::UnsupportedSettings:
            return isEnglish
                       ? QStringLiteral("the device does not take the line settings 9600,N,8,1")
                       : QStringLiteral("设备不支持 9600,N,8,1 的线路设置");
        default:
            return isEnglish ? QStringLiteral("the device would not open")
                             : QStringLiteral("设备无法打开");
    }
}

QString serialPortGroupHint(const QString& device, PortError error, bool isEnglish) {
    if (error != PortError::PermissionDenied) return {};
    const QString group = deviceGroupName(device);
    if (group.isEmpty()) return {};
    if (isEnglish)
        return QStringLiteral(
                   "Access to %1 is granted to the group \"%2\": add your user to it "
                   "(sudo usermod -aG %2 $USER) and log in again.")
            .arg(device, group);
    return QStringLiteral(
               "%1 的访问权限属于用户组“%2”：请将当前用户加入该组"
               "（sudo usermod -aG %2 $USER）后重新登录。")
        .arg(device, group);
}

#ifdef Q_OS_LINUX
namespace {

// The pseudo-terminal index behind a /dev/ptmx descriptor, or -1.
int ptyIndexOf(const QString& pid, const QString& fd) {
    QFile info(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid, fd));
    if (!info.open(QIODevice::ReadOnly)) return -1;
    static const QRegularExpression index(QStringLiteral("tty-index:\\s*(\\d+)"));
    const auto m = index.match(QString::fromLatin1(info.readAll()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

bool isPtyMaster(const QString& link) {
    return link == QLatin1String("/dev/ptmx") || link == QLatin1String("/dev/pts/ptmx");
}

QString programOf(const QString& pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed()
                                          : QString();
}

}  // namespace
#endif

QList<PortHolder> serialPortHolders(const QString& device) {
    QList<PortHolder> out;
#ifdef Q_OS_LINUX
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty()) return out;
    // The far end of a pseudo-terminal (the simulator, a terminal) holds it too; it
    // is the cable, not a program to close.
    static const QRegularExpression ptsName(QStringLiteral("^/dev/pts/(\\d+)$"));
    const auto pts = ptsName.match(target);
    const int ptyIndex = pts.hasMatch() ? pts.captured(1).toInt() : -1;
    const QString self = QString::number(QCoreApplication::applicationPid());
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!isAllDigits(pid) || pid == self) continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        bool holds = false;
        bool farEnd = false;
        // Unreadable for other users' processes unless the system shows them.
        for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            const QString link = fd.symLinkTarget();
            if (link == target) holds = true;
            if (ptyIndex >= 0 && isPtyMaster(link) && ptyIndexOf(pid, fd.fileName()) == ptyIndex)
                farEnd = true;
        }
        if (holds && !farEnd) out.append({pid.toLongLong(), programOf(pid)});
    }
#else
    Q_UNUSED(device);
#endif
    return out;
}

namespace {

QString holderText(const PortHolder& h, bool isEnglish) {
    return isEnglish ? QStringLiteral("%1 (process %2)").arg(h.program).arg(h.pid)
                     : QStringLiteral("%1（进程 %2）").arg(h.program).arg(h.pid);
}

// Daemons known to grab USB serial adapters, with the command that stops them.
struct KnownHolder {
    const char* program;
    const char* remedy;
};
constexpr KnownHolder kKnownHolders[] = {
    {"ModemManager", "sudo systemctl stop ModemManager"},
    {"brltty", "sudo systemctl stop brltty; sudo apt remove brltty"},
};

struct CableChip {
    int vendor;
    int product;
    const char* name;
};
// As packaging/udev/70-baldo7-cables.rules lists them.
constexpr CableChip kCableChips[] = {
    {0x067b, 0x2303, "PL2303"}, {0x067b, 0x23a3, "PL2303"}, {0x067b, 0x23c3, "PL2303"},
    {0x067b, 0x23d3, "PL2303"}, {0x0403, 0x6001, "FT232R"}, {0x0403, 0x6010, "FT2232"},
    {0x0403, 0x6014, "FT232H"}, {0x0403, 0x6015, "FT230X"}, {0x10c4, 0xea60, "CP210x"},
    {0x10c4, 0xea70, "CP210x"}, {0x1a86, 0x7523, "CH340"},  {0x1a86, 0x5523, "CH341"},
    {0x1a86, 0x55d4, "CH9102"},
};

int hexFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    bool ok = false;
    const int v = f.readAll().trimmed().toInt(&ok, 16);
    return ok ? v : -1;
}

// The cables plugged in without a port, as this system shows them now.
QStringList cablesWithoutPortNow() {
#ifdef Q_OS_LINUX
    return usbCablesWithoutPort(QStringLiteral("/sys/bus/usb/devices"), availableSerialPorts());
#else
    return {};
#endif
}

QString portListText(bool isEnglish) {
    QStringList names;
    for (const SerialPortEntry& e : availableSerialPorts()) names << e.location;
    for (const SerialPortEntry& e : simulatedRadioPorts()) names << e.location;
    if (names.isEmpty()) return {};
    constexpr int kShown = 6;
    const qsizetype more = names.size() - kShown;
    if (more > 0) names = names.mid(0, kShown);
    QString text = names.join(isEnglish ? QStringLiteral(", ") : QStringLiteral("、"));
    if (more > 0)
        text += isEnglish ? QStringLiteral(" and %1 more").arg(more)
                          : QStringLiteral(" 等 %1 个").arg(names.size() + more);
    return text;
}

}  // namespace

QStringList usbCablesWithoutPort(const QString& usbDevices, const QList<SerialPortEntry>& ports) {
    QStringList out;
    const QDir dir(usbDevices);
    for (const QString& entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const int vendor = hexFile(dir.filePath(entry + QStringLiteral("/idVendor")));
        const int product = hexFile(dir.filePath(entry + QStringLiteral("/idProduct")));
        for (const CableChip& chip : kCableChips) {
            if (chip.vendor != vendor || chip.product != product) continue;
            const bool hasPort =
                std::any_of(ports.begin(), ports.end(), [&](const SerialPortEntry& p) {
                    return p.vendorId == vendor && p.productId == product;
                });
            if (!hasPort)
                out << QStringLiteral("%1 (%2:%3)")
                           .arg(QLatin1String(chip.name))
                           .arg(vendor, 4, 16, QLatin1Char('0'))
                           .arg(product, 4, 16, QLatin1Char('0'));
        }
    }
    return out;
}

QString cableTakenText(const QStringList& cables, bool isEnglish) {
    if (cables.isEmpty()) return {};
    const QString names = cables.join(isEnglish ? QStringLiteral(", ") : QStringLiteral("、"));
    return isEnglish
               ? QStringLiteral(
                     "The cable %1 is plugged in, but the system took its serial port away. On "
                     "some systems the braille display service (brltty) does this to such "
                     "cables. If you use no braille display, stop it for good (sudo systemctl "
                     "mask brltty-udev.service brltty.service), then unplug and replug the "
                     "cable.")
                     .arg(names)
               : QStringLiteral(
                     "编程线 %1 已插上，但系统拿走了它的串口。有些系统上的盲文显示服务"
                     "（brltty）会这样占用此类编程线。如果不使用盲文显示器，请永久停用它"
                     "（sudo systemctl mask brltty-udev.service brltty.service），然后拔下"
                     "并重新插上编程线。")
                     .arg(names);
}

QString serialPortRemedy(const QString& device, PortError error, bool isEnglish) {
    // A port that is not there (or went away during a transfer) while a cable is
    // plugged in: say what took it, not "plug in the cable".
    if (error == PortError::DeviceNotFound ||
        (error == PortError::Other && !device.isEmpty() && !QFileInfo::exists(device))) {
        const QString taken = cableTakenText(cablesWithoutPortNow(), isEnglish);
        if (!taken.isEmpty()) return taken;
    }
    switch (error) {
        case PortError::DeviceNotFound: {
            const QString ports = portListText(isEnglish);
            if (ports.isEmpty())
                return isEnglish ? QStringLiteral(
                                       "No serial port was found on this computer: plug in the "
                                       "programming cable and choose its port.")
                                 : QStringLiteral("本机没有找到串口：请插好编程线并选择它的端口。");
            return isEnglish
                       ? QStringLiteral("Plug in the cable, or choose a port that exists: %1.")
                             .arg(ports)
                       : QStringLiteral("请插好编程线，或选择本机已有的端口：%1。").arg(ports);
        }
        case PortError::PermissionDenied: {
            const QString hint = serialPortGroupHint(device, error, isEnglish);
            if (!hint.isEmpty()) return hint;
            return isEnglish
                       ? QStringLiteral("Ask the administrator for read and write access to %1.")
                             .arg(device)
                       : QStringLiteral("请管理员为您开通 %1 的读写权限。").arg(device);
        }
        case PortError::InUse: {
            const QList<PortHolder> holders = serialPortHolders(device);
            for (const PortHolder& h : holders)
                for (const KnownHolder& k : kKnownHolders)
                    if (h.program == QLatin1String(k.program))
                        return isEnglish ? QStringLiteral(
                                               "%1 probes serial adapters; stop it "
                                               "(%2) and try again.")
                                               .arg(h.program, QLatin1String(k.remedy))
                                         : QStringLiteral(
                                               "%1 会占用串口适配器；请停止它"
                                               "（%2）后重试。")
                                               .arg(h.program, QLatin1String(k.remedy));
            if (!holders.isEmpty())
                return isEnglish ? QStringLiteral("Close %1 and try again.")
                                       .arg(holderText(holders.front(), true))
                                 : QStringLiteral("请关闭 %1后重试。")
                                       .arg(holderText(holders.front(), false));
            return isEnglish ? QStringLiteral(
                                   "Close the other program that uses the port "
                                   "(a terminal, another programming program) and try "
                                   "again.")
                             : QStringLiteral(
                                   "请关闭正在使用该端口的其他程序（终端、其他编程软件）后重试。");
        }
        case PortError::UnsupportedSettings:
            return isEnglish ? QStringLiteral("Choose the port of the programming cable.")
                             : QStringLiteral("请选择编程线所在的端口。");
        default:
            return isEnglish ? QStringLiteral("Check the cable and try again.")
                             : QStringLiteral("请检查编程线后重试。");
    }
}

QString serialPortDiagnosis(const QString& device, PortError error, bool isEnglish,
                            const QString& typed) {
    QString port = !device.isEmpty() ? device
                   : isEnglish       ? QStringLiteral("the port")
                                     : QStringLiteral("端口");
    QString name = typed.trimmed();
    // Set Com keeps a typed COMn as its number.
    if (isAllDigits(name)) name.prepend(QLatin1String("COM"));
    if (!device.isEmpty() && !name.isEmpty() && name != device &&
        resolveSerialPortName(name) == device && !device.endsWith(QLatin1Char('/') + name))
        port = name + QStringLiteral(" (") + device + QLatin1Char(')');
    QString reason = serialPortOpenFailureReason(error, isEnglish);
    if (error == PortError::InUse) {
        // Name the holder where the system shows it: that is what the user must close.
        const QList<PortHolder> holders = serialPortHolders(device);
        if (!holders.isEmpty())
            reason =
                isEnglish
                    ? QStringLiteral("it is in use by %1").arg(holderText(holders.front(), true))
                    : QStringLiteral("它正被 %1占用").arg(holderText(holders.front(), false));
    }
    QString text =
        (isEnglish ? QStringLiteral("Cannot open %1: %2.") : QStringLiteral("无法打开 %1：%2。"))
            .arg(port, reason);
    const QString remedy = serialPortRemedy(device, error, isEnglish);
    if (!remedy.isEmpty()) text += QLatin1Char('\n') + remedy;
    return text;
}

QString serialPortOpenFailureText(const QString& device, PortError error, bool isEnglish,
                                  const QString& typed) {
    return QString::fromUtf8(link_texts::kReselectPort.pick(isEnglish)) + QLatin1Char('\n') +
           serialPortDiagnosis(device, error, isEnglish, typed);
}

QList<SerialPortEntry> simulatedRadioPorts() {
    QList<SerialPortEntry> out;
#ifdef Q_OS_LINUX
    // A simulator holds the master side; its fdinfo names the pseudo-terminal.
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!isAllDigits(pid)) continue;
        if (programOf(pid) != QLatin1String("baldo7-sim")) continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            if (!isPtyMaster(fd.symLinkTarget())) continue;
            const int index = ptyIndexOf(pid, fd.fileName());
            if (index < 0) continue;
            SerialPortEntry e;
            e.location = QStringLiteral("/dev/pts/%1").arg(index);
            e.name = e.location;
            e.description =
                QStringLiteral("BALDO-7 simulated radio (baldo7-sim, process %1)").arg(pid);
            e.simulated = true;
            e.simulatorPid = pid.toLongLong();
            e.number = index;  // orders the list
            out.append(e);
        }
    }
    std::sort(out.begin(), out.end(), [](const SerialPortEntry& a, const SerialPortEntry& b) {
        return a.number < b.number;
    });
    for (SerialPortEntry& e : out) e.number = 0;
#endif
    return out;
}

CablePower parseCablePower(const QString& text) {
    CablePower p;
    const QString t = text.toUpper();
    p.dtr = t.contains(QLatin1String("DTR"));
    p.rts = t.contains(QLatin1String("RTS"));
    return p;
}

QString cablePowerText(CablePower power) {
    QStringList lines;
    if (power.dtr) lines << QStringLiteral("DTR");
    if (power.rts) lines << QStringLiteral("RTS");
    return lines.join(QLatin1Char(','));
}

void sortSerialPorts(QList<SerialPortEntry>& ports) {
    std::sort(ports.begin(), ports.end(), [](const SerialPortEntry& a, const SerialPortEntry& b) {
        if (a.number != b.number && a.number > 0 && b.number > 0) return a.number < b.number;
        return a.name < b.name;
    });
}

UsbIds usbIdsFromDeviceId(const QString& deviceId) {
    // The separator after the vendor is '&' for USB, '+' for some vendors' own buses.
    static const QRegularExpression ids(
        QStringLiteral("VID_([0-9A-F]{4})[&+]PID_([0-9A-F]{4})(?![0-9A-F])"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = ids.match(deviceId);
    if (!m.hasMatch()) return {};
    return {m.captured(1).toInt(nullptr, 16), m.captured(2).toInt(nullptr, 16)};
}

QString usbSerialFromInstanceId(const QString& instanceId) {
    const QStringList parts = instanceId.split(QLatin1Char('\\'));
    if (parts.size() != 3 || !parts[0].startsWith(QLatin1String("USB"), Qt::CaseInsensitive))
        return {};
    const QString& last = parts[2];
    if (last.isEmpty() || last.contains(QLatin1Char('&'))) return {};
    return last;
}

QString SerialPort::openFailureText(bool isEnglish) const {
    return serialPortOpenFailureText(device_, openError_, isEnglish, typed_);
}

void SerialPort::setReceiveThreshold(int bytes) {
    threshold_ = std::max(bytes, 0);
    if (threshold_ == 0 || checkQueued_ || bytesBuffered() < threshold_) return;
    checkQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            checkQueued_ = false;
            deliverIfReady();
        },
        Qt::QueuedConnection);
}

void SerialPort::deliverIfReady() {
    if (threshold_ <= 0 || !isOpen()) return;
    if (bytesBuffered() < threshold_) return;
    // Taken before the signal: a handler that pumps events (a message box)
    // must not see these bytes a second time.
    const QByteArray bytes = readAll();
    emit received(bytes);
}

}  // namespace baldo7
