#include "shell/settings.h"

namespace baldo7 {

std::unique_ptr<QSettings> OpenSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Olvis"), QStringLiteral("BALDO-7"));
}

// Where earlier versions kept the values: a group inside the program's own key.
static QString oldKey(const QString& name) {
    return QString::fromLatin1(kOldSettingsGroup) + QLatin1Char('/') + name;
}

QString ReadRegistryString(QSettings& settings, const QString& name) {
    if (settings.status() != QSettings::NoError) return QString();
    QVariant value = settings.value(name);
    if (!value.isValid()) value = settings.value(oldKey(name));
    if (!value.isValid() || !value.canConvert<QString>()) return QString();
    QString text = value.toString();
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0) text.truncate(zero);
    return text;
}

bool WriteRegistryString(QSettings& settings, const QString& name, const QString& text) {
    if (!settings.isWritable()) return false;
    settings.setValue(name, text);
    // One place for each value: an old copy would only confuse whoever looks.
    settings.remove(oldKey(name));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

int LeadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    long long value = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > 32767) return 32767;  // the port number is a 16-bit value
    }
    return static_cast<int>(value);
}

void ReadSettings(Document& doc, QSettings& settings) {
    doc.IsEnglish = ReadRegistryString(settings, QString::fromLatin1(kSettingLanguage)) ==
                    QLatin1String("True");
    const QString port =
        ReadRegistryString(settings, QString::fromLatin1(kSettingComPort)).trimmed();
    doc.ComPortName.clear();
    if (port.isEmpty()) {
        doc.ComPortNumber = 1;
    } else if (port.front().isDigit()) {
        doc.ComPortNumber = LeadingNumber(port);
    } else {
        // A device without a number (a Linux device path, the simulated radio).
        doc.ComPortNumber = 0;
        doc.ComPortName = port.toStdString();
    }
}

static bool readSwitch(QSettings& settings, const char* name) {
    const QString text =
        ReadRegistryString(settings, QString::fromLatin1(name)).trimmed().toLower();
    return text == QLatin1String("true") || text == QLatin1String("1");
}

bool ReadServiceMode(QSettings& settings) {
    return readSwitch(settings, kSettingServiceMode);
}

bool ReadSerialTrace(QSettings& settings) {
    return readSwitch(settings, kSettingSerialTrace);
}

static bool readOnByDefault(QSettings& settings, const char* name) {
    const QString text = ReadRegistryString(settings, QString::fromLatin1(name)).trimmed();
    return text.toLower() != QLatin1String("false") && text != QLatin1String("0");
}

bool ReadVerifyAfterWrite(QSettings& settings) {
    return readOnByDefault(settings, kSettingVerifyAfterWrite);
}

bool ReadJobLogOn(QSettings& settings) {
    return readOnByDefault(settings, kSettingJobLog);
}

QString ReadCablePower(QSettings& settings) {
    return ReadRegistryString(settings, QString::fromLatin1(kSettingCablePower)).trimmed();
}

bool StoreLanguage(QSettings& settings, bool isEnglish) {
    return WriteRegistryString(settings, QString::fromLatin1(kSettingLanguage),
                               isEnglish ? QStringLiteral("True") : QStringLiteral("False"));
}

QString PortSetting(const Document& doc) {
    return doc.ComPortName.empty() ? QString::number(doc.ComPortNumber)
                                   : QString::fromStdString(doc.ComPortName);
}

bool StoreComPort(QSettings& settings, const Document& doc) {
    return WriteRegistryString(settings, QString::fromLatin1(kSettingComPort), PortSetting(doc));
}

}  // namespace baldo7
