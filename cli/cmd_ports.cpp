// baldo7ctl ports: the serial ports a cable could be on, with what the system knows
// about each (USB ids, maker, serial number) and whether this user may open it.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "cli/commands.h"
#include "cli/verb_parser.h"
#include "link/serial_port.h"

namespace baldo7::cli {

namespace {

QString usbId(int id) {
    return id < 0 ? QString() : QString::number(id, 16).rightJustified(4, '0');
}

QJsonValue textOrNull(const QString& s) {
    return s.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(s);
}

QJsonObject describe(const SerialPortEntry& e) {
    return QJsonObject{{"name", e.name},
                       {"device", e.location},
                       {"description", textOrNull(e.description)},
                       {"manufacturer", textOrNull(e.manufacturer)},
                       {"vendorId", textOrNull(usbId(e.vendorId))},
                       {"productId", textOrNull(usbId(e.productId))},
                       {"serialNumber", textOrNull(e.serialNumber)},
                       {"simulated", e.simulated},
                       {"canOpen", serialPortAccessible(e.location)},
                       {"group", textOrNull(deviceGroupName(e.location))}};
}

}  // namespace

int runPorts(const QStringList& args) {
    VerbParser verb("ports",
                    "Lists the serial ports (and running baldo7-sim radios) with their USB ids "
                    "and whether you may open them.");
    QCommandLineParser& p = verb.parser();
    p.addOption({"json", "One JSON array on stdout."});
    if (auto stop = verb.parse(args)) return *stop;
    if (!p.positionalArguments().isEmpty()) {
        printError("ports: takes no file");
        return kExitUsage;
    }
    const QList<SerialPortEntry> ports = availableSerialPorts() + simulatedRadioPorts();
    QTextStream out(stdout);
    if (p.isSet("json")) {
        QJsonArray list;
        for (const SerialPortEntry& e : ports) list.append(describe(e));
        out << QJsonDocument(list).toJson(QJsonDocument::Indented);
        return kExitOk;
    }
    if (ports.isEmpty()) {
        out << "No serial port found: plug in the programming cable.\n";
        return kExitOk;
    }
    for (const SerialPortEntry& e : ports) {
        const QJsonObject o = describe(e);
        QStringList about;
        if (!e.description.isEmpty()) about << e.description;
        if (!e.manufacturer.isEmpty()) about << e.manufacturer;
        if (e.vendorId >= 0 || e.productId >= 0)
            about << "USB " + usbId(e.vendorId) + ":" + usbId(e.productId);
        if (!e.serialNumber.isEmpty()) about << "serial " + e.serialNumber;
        QString access =
            o["canOpen"].toBool() ? QString("you may open it") : QString("no access for you");
        if (!o["canOpen"].toBool() && o["group"].isString())
            access += " (join group " + o["group"].toString() + ")";
        about << access;
        out << e.location << "  " << about.join(", ") << "\n";
    }
    return kExitOk;
}

}  // namespace baldo7::cli
