// What the port list takes from the system's device ids, and the order it shows.
#include <gtest/gtest.h>

#include "link/serial_port.h"

namespace {

TEST(PortIds, UsbIdsAndSerialFromDeviceIds) {
    struct Case {
        const char* id;
        int vendor;
        int product;
    } cases[] = {
        {"USB\\VID_1A86&PID_7523&REV_0254", 0x1A86, 0x7523},
        {"usb\\vid_067b&pid_2303", 0x067B, 0x2303},
        {"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000", 0x0403, 0x6001},
        {"USB\\VID_10C4&PID_EA60\\0001", 0x10C4, 0xEA60},
        {"ACPI\\PNP0501", -1, -1},
        {"USB\\VID_12&PID_3456", -1, -1},
        {"USB\\VID_1234&PID_56789", -1, -1},  // five digits: not a product id
        {"", -1, -1},
    };
    for (const auto& c : cases) {
        const baldo7::UsbIds ids = baldo7::usbIdsFromDeviceId(QString::fromLatin1(c.id));
        EXPECT_EQ(ids.vendorId, c.vendor) << c.id;
        EXPECT_EQ(ids.productId, c.product) << c.id;
    }

    struct Serial {
        const char* instance;
        const char* serial;
    } serials[] = {
        {"USB\\VID_0403&PID_6001\\A50285BI", "A50285BI"},
        {"USB\\VID_1A86&PID_7523\\5&2A4C1E&0&2", ""},  // made up by the system
        {"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000", ""},
        {"ACPI\\PNP0501\\1", ""},
        {"USB\\VID_0403&PID_6001", ""},
    };
    for (const auto& s : serials)
        EXPECT_EQ(baldo7::usbSerialFromInstanceId(QString::fromLatin1(s.instance)),
                  QString::fromLatin1(s.serial))
            << s.instance;
}

TEST(PortIds, NumberedPortsInNumberOrderThenNames) {
    QList<baldo7::SerialPortEntry> ports;
    for (const char* name : {"COM10", "ttyUSB0", "COM2", "COM1", "ttyACM0", "com3"}) {
        baldo7::SerialPortEntry e;
        e.name = QString::fromLatin1(name);
        e.number = baldo7::serialPortNumber(e.name);
        ports.append(e);
    }
    baldo7::sortSerialPorts(ports);
    QStringList names;
    for (const auto& e : ports) names << e.name;
    EXPECT_EQ(names.join(' '), QString("COM1 COM2 com3 COM10 ttyACM0 ttyUSB0"));
}

}  // namespace
