// The serial line on Windows through the system's own calls. A reader thread waits in
// ReadFile and hands the bytes to the event loop: a line that is only told about data
// by WaitCommEvent stays silent on drivers that do not serve it (wine's pseudo-terminal
// ports among them), while a waiting read works on every driver.
#include <windows.h>
// clang-format off
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <QMetaObject>

#include <iterator>
#include <mutex>
#include <string>
#include <thread>

#include "link/serial_port.h"

namespace baldo7 {

namespace {

// What CreateFile's error means to the user. The system lets one program at a time
// open a port and tells the second one "access denied".
PortError portErrorOfOpen(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_DEV_NOT_EXIST:
            return PortError::DeviceNotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return PortError::InUse;
        default:
            return PortError::Other;
    }
}

QString wideString(const wchar_t* text, std::size_t maxChars) {
    std::size_t n = 0;
    while (n < maxChars && text[n] != L'\0') ++n;
    return QString::fromWCharArray(text, static_cast<qsizetype>(n));
}

QString registryString(HKEY key, const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return wideString(value, size / sizeof(wchar_t));
}

// A string property of a device; the first string of a list.
QString deviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t value[512] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr,
                                           reinterpret_cast<BYTE*>(value),
                                           sizeof(value) - sizeof(wchar_t), nullptr))
        return {};
    return wideString(value, std::size(value));
}

// The ports the system has, from the serial device map.
QList<SerialPortEntry> serialDeviceMap() {
    QList<SerialPortEntry> out;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return out;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameChars = std::size(name);
        wchar_t data[256] = {};
        DWORD dataSize = sizeof(data) - sizeof(wchar_t);
        DWORD type = 0;
        const LONG r = RegEnumValueW(key, i, name, &nameChars, nullptr, &type,
                                     reinterpret_cast<BYTE*>(data), &dataSize);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        SerialPortEntry e;
        e.name = wideString(data, dataSize / sizeof(wchar_t));
        if (e.name.isEmpty()) continue;
        e.location = e.name;
        e.number = serialPortNumber(e.name);
        out.append(e);
    }
    RegCloseKey(key);
    return out;
}

// Adds what Plug and Play knows of each port: its name, maker and USB ids.
void addDeviceDetails(QList<SerialPortEntry>& ports) {
    HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        HKEY key =
            SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
        if (key == INVALID_HANDLE_VALUE) continue;
        const QString portName = registryString(key, L"PortName");
        RegCloseKey(key);
        for (SerialPortEntry& e : ports) {
            if (e.name.compare(portName, Qt::CaseInsensitive) != 0) continue;
            e.description = deviceProperty(set, device, SPDRP_DEVICEDESC);
            e.manufacturer = deviceProperty(set, device, SPDRP_MFG);
            const UsbIds ids = usbIdsFromDeviceId(deviceProperty(set, device, SPDRP_HARDWAREID));
            e.vendorId = ids.vendorId;
            e.productId = ids.productId;
            wchar_t instance[512] = {};
            if (SetupDiGetDeviceInstanceIdW(set, &device, instance, std::size(instance) - 1,
                                            nullptr))
                e.serialNumber = usbSerialFromInstanceId(wideString(instance, std::size(instance)));
        }
    }
    SetupDiDestroyDeviceInfoList(set);
}

}  // namespace

QList<SerialPortEntry> availableSerialPorts() {
    QList<SerialPortEntry> out = serialDeviceMap();
    addDeviceDetails(out);
    sortSerialPorts(out);
    return out;
}

struct SerialPort::Line {
    HANDLE handle = INVALID_HANDLE_VALUE;
    HANDLE stop = nullptr;  // set to end the reader
    std::thread reader;
    // The reader's read in flight lives as long as the line: a read the system
    // completes late still has its buffer.
    OVERLAPPED readOv{};
    char chunk[4096];
    std::mutex mutex;  // guards the two below
    QByteArray buffer;
    bool deliveryQueued = false;

    ~Line() {
        if (stop) CloseHandle(stop);
        if (readOv.hEvent) CloseHandle(readOv.hEvent);
    }
    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }
    void readLoop(SerialPort* owner);
};

// Runs until the stop event is set or the device goes away (a cable pulled out):
// then nothing more arrives and the exchange's own timeouts say so.
void SerialPort::Line::readLoop(SerialPort* owner) {
    for (;;) {
        ResetEvent(readOv.hEvent);
        DWORD got = 0;
        if (!ReadFile(handle, chunk, sizeof(chunk), &got, &readOv)) {
            if (GetLastError() != ERROR_IO_PENDING) break;
            const HANDLE events[] = {readOv.hEvent, stop};
            if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
                CancelIoEx(handle, &readOv);
                GetOverlappedResult(handle, &readOv, &got, TRUE);
                break;
            }
            if (!GetOverlappedResult(handle, &readOv, &got, FALSE)) {
                // A purge ends the waiting read; the line is still there.
                if (GetLastError() == ERROR_OPERATION_ABORTED &&
                    WaitForSingleObject(stop, 0) != WAIT_OBJECT_0)
                    continue;
                break;
            }
        }
        if (WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) break;
        if (got == 0) continue;
        std::lock_guard<std::mutex> lock(mutex);
        buffer.append(chunk, static_cast<qsizetype>(got));
        if (deliveryQueued) continue;
        deliveryQueued = true;
        QMetaObject::invokeMethod(
            owner,
            [owner] {
                {
                    std::lock_guard<std::mutex> lock(owner->line_->mutex);
                    owner->line_->deliveryQueued = false;
                }
                owner->deliverIfReady();
            },
            Qt::QueuedConnection);
    }
}

SerialPort::SerialPort(QObject* parent) : LinkPort(parent), line_(std::make_unique<Line>()) {
    line_->stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    line_->readOv.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

SerialPort::~SerialPort() {
    SerialPort::close();
}

bool SerialPort::open(const QString& setting) {
    close();
    device_ = resolveSerialPortName(setting);
    typed_ = setting;
    openError_ = PortError::NoError;
    if (device_.isEmpty()) {
        openError_ = PortError::DeviceNotFound;
        return false;
    }
    // The device namespace reaches COM10 and above too.
    const QString path =
        device_.startsWith(QLatin1String("\\\\")) ? device_ : QStringLiteral("\\\\.\\") + device_;
    const HANDLE h =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        openError_ = portErrorOfOpen(GetLastError());
        return false;
    }

    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    bool configured = GetCommState(h, &dcb);
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    // No flow control; the lines stay as the driver set them unless asked for.
    if (dcb.fDtrControl == DTR_CONTROL_HANDSHAKE) dcb.fDtrControl = DTR_CONTROL_ENABLE;
    if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE || dcb.fRtsControl == RTS_CONTROL_TOGGLE)
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
    configured = configured && SetCommState(h, &dcb);
    // A read waits for the first byte as long as it takes and ends once the line
    // has been quiet for 10 ms after it (a byte takes 1.04 ms at 9600 baud). The
    // "return at once or after the first byte" setting is not used: wine's serial
    // ports never end such a read on a pseudo-terminal. Writes get two milliseconds
    // a byte.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 10;
    timeouts.WriteTotalTimeoutMultiplier = 2;
    timeouts.WriteTotalTimeoutConstant = 2000;
    configured = configured && SetCommTimeouts(h, &timeouts);
    if (!configured) {
        CloseHandle(h);
        openError_ = PortError::UnsupportedSettings;
        return false;
    }
    PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    // Asserted only when asked: what the driver does on open is what works today.
    powerApplied_ = true;
    if (power_.dtr) powerApplied_ = EscapeCommFunction(h, SETDTR) && powerApplied_;
    if (power_.rts) powerApplied_ = EscapeCommFunction(h, SETRTS) && powerApplied_;

    line_->handle = h;
    line_->buffer.clear();
    line_->deliveryQueued = false;
    ResetEvent(line_->stop);
    line_->reader = std::thread([line = line_.get(), this] { line->readLoop(this); });
    return true;
}

bool SerialPort::isOpen() const {
    return line_->isOpen();
}

void SerialPort::close() {
    threshold_ = 0;
    if (!line_->isOpen()) return;
    SetEvent(line_->stop);
    if (line_->reader.joinable()) line_->reader.join();
    CloseHandle(line_->handle);
    line_->handle = INVALID_HANDLE_VALUE;
    std::lock_guard<std::mutex> lock(line_->mutex);
    line_->buffer.clear();
}

bool SerialPort::send(const QByteArray& bytes) {
    if (!line_->isOpen()) return false;
    // Waits until the driver has taken every byte: the caller may block (the end
    // pause) before the event loop runs again.
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD written = 0;
    bool ok = WriteFile(line_->handle, bytes.constData(), static_cast<DWORD>(bytes.size()),
                        &written, &ov);
    if (!ok && GetLastError() == ERROR_IO_PENDING)
        ok = GetOverlappedResult(line_->handle, &ov, &written, TRUE);
    CloseHandle(ov.hEvent);
    return ok && written == static_cast<DWORD>(bytes.size());
}

int SerialPort::bytesBuffered() const {
    std::lock_guard<std::mutex> lock(line_->mutex);
    return static_cast<int>(line_->buffer.size());
}

QByteArray SerialPort::readAll() {
    std::lock_guard<std::mutex> lock(line_->mutex);
    QByteArray bytes;
    bytes.swap(line_->buffer);
    return bytes;
}

void SerialPort::discardInput() {
    if (!line_->isOpen()) return;
    PurgeComm(line_->handle, PURGE_RXCLEAR);
    std::lock_guard<std::mutex> lock(line_->mutex);
    line_->buffer.clear();
}

}  // namespace baldo7
