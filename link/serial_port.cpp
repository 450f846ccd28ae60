#include "link/serial_port.h"

#include <QFile>
#include <QMetaObject>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <vector>

#include "link/exchange_texts.h"

#ifndef Q_OS_WIN
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

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

QString deviceGroupName(const QString& device) {
#ifdef Q_OS_WIN
    Q_UNUSED(device);
    return {};
#else
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0) return {};
    struct group grp {};
    struct group* found = nullptr;
    std::vector<char> buf(4096);
    while (::getgrgid_r(st.st_gid, &grp, buf.data(), buf.size(), &found) == ERANGE &&
           buf.size() < (1u << 20))
        buf.resize(buf.size() * 2);
    if (found == nullptr) return {};
    return QString::fromLocal8Bit(found->gr_name);
#endif
}

QString serialPortOpenFailureReason(QSerialPort::SerialPortError error, bool isEnglish) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return isEnglish ? QStringLiteral("no such device") : QStringLiteral("设备不存在");
        case QSerialPort::PermissionError:
            return isEnglish ? QStringLiteral("permission denied") : QStringLiteral("没有访问权限");
        case QSerialPort::OpenError:
            return isEnglish ? QStringLiteral("it is in use by another program")
                             : QStringLiteral("它正被其他程序占用");
        case QSerialPort::UnsupportedOperationError:
            return isEnglish
                       ? QStringLiteral("the device does not take the line settings 9600,N,8,1")
                       : QStringLiteral("设备不支持 9600,N,8,1 的线路设置");
        default:
            return isEnglish ? QStringLiteral("the device would not open")
                             : QStringLiteral("设备无法打开");
    }
}

QString serialPortGroupHint(const QString& device, QSerialPort::SerialPortError error,
                            bool isEnglish) {
    if (error != QSerialPort::PermissionError) return {};
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

QString serialPortOpenFailureText(const QString& device, QSerialPort::SerialPortError error,
                                  bool isEnglish) {
    QString text = QString::fromUtf8(link_texts::kReselectPort.pick(isEnglish));
    const QString port = !device.isEmpty() ? device
                         : isEnglish       ? QStringLiteral("the port")
                                           : QStringLiteral("端口");
    text += QLatin1Char('\n') + (isEnglish ? QStringLiteral("Cannot open %1: %2.")
                                           : QStringLiteral("无法打开 %1：%2。"))
                                    .arg(port, serialPortOpenFailureReason(error, isEnglish));
    const QString hint = serialPortGroupHint(device, error, isEnglish);
    if (!hint.isEmpty()) text += QLatin1Char('\n') + hint;
    return text;
}

QList<SerialPortEntry> availableSerialPorts() {
    QList<SerialPortEntry> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry e;
        e.name = info.portName();
        e.location = info.systemLocation();
        e.description = info.description();
        if (info.hasVendorIdentifier()) e.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier()) e.productId = info.productIdentifier();
        const auto m = comPattern().match(e.name);
        e.number = m.hasMatch() ? m.captured(1).toInt() : 0;
        out.append(e);
    }
    std::sort(out.begin(), out.end(), [](const SerialPortEntry& a, const SerialPortEntry& b) {
        if (a.number != b.number && a.number > 0 && b.number > 0) return a.number < b.number;
        return a.name < b.name;
    });
    return out;
}

SerialPort::SerialPort(QObject* parent) : QObject(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &SerialPort::deliverIfReady);
}

SerialPort::~SerialPort() {
    close();
}

bool SerialPort::open(const QString& setting) {
    close();
    device_ = resolveSerialPortName(setting);
    openError_ = QSerialPort::NoError;
    if (device_.isEmpty()) {
        openError_ = QSerialPort::DeviceNotFoundError;
        return false;
    }
    port_.setPortName(device_);
    if (!port_.open(QIODevice::ReadWrite)) {
        openError_ = port_.error();
#ifndef Q_OS_WIN
        // A port held by another program is reported the same way as a denied
        // one; only a device we may not open needs the group hint.
        if (openError_ == QSerialPort::PermissionError &&
            ::access(QFile::encodeName(device_).constData(), R_OK | W_OK) == 0)
            openError_ = QSerialPort::OpenError;
#endif
        if (openError_ == QSerialPort::NoError) openError_ = QSerialPort::OpenError;
        port_.clearError();
        return false;
    }
    const bool configured =
        port_.setBaudRate(QSerialPort::Baud9600) && port_.setDataBits(QSerialPort::Data8) &&
        port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
        port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        openError_ = QSerialPort::UnsupportedOperationError;
        port_.close();
        return false;
    }
    port_.clear();
    return true;
}

bool SerialPort::isOpen() const {
    return port_.isOpen();
}

void SerialPort::close() {
    threshold_ = 0;
    if (port_.isOpen()) port_.close();
}

QString SerialPort::openFailureText(bool isEnglish) const {
    return serialPortOpenFailureText(device_, openError_, isEnglish);
}

bool SerialPort::send(const QByteArray& bytes) {
    if (!port_.isOpen()) return false;
    if (port_.write(bytes) != bytes.size()) return false;
    // Hand the bytes to the driver now: the caller may block (the end pause)
    // before the event loop runs again.
    port_.flush();
    return true;
}

bool SerialPort::send(const std::vector<std::uint8_t>& bytes) {
    return send(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                           static_cast<qsizetype>(bytes.size())));
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

int SerialPort::bytesBuffered() const {
    return port_.isOpen() ? static_cast<int>(port_.bytesAvailable()) : 0;
}

QByteArray SerialPort::readAll() {
    return port_.isOpen() ? port_.readAll() : QByteArray();
}

void SerialPort::discardInput() {
    if (!port_.isOpen()) return;
    port_.readAll();
    port_.clear(QSerialPort::Input);
}

void SerialPort::deliverIfReady() {
    if (threshold_ <= 0 || !port_.isOpen()) return;
    if (port_.bytesAvailable() < threshold_) return;
    // Taken before the signal: a handler that pumps events (a message box)
    // must not see these bytes a second time.
    const QByteArray bytes = port_.readAll();
    emit received(bytes);
}

}  // namespace baldo7
