// The two remembered settings, language and serial port, kept through QSettings:
// on Windows the values Language and ComPort of the registry key
// HKEY_CURRENT_USER\Software\Olvis\BALDO-7, elsewhere one INI file under the user's
// config folder.
// Every failure is silent: a failed read gives "" and so the default, a failed
// write keeps the old stored value while the new one holds for this run.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "core/document.h"

namespace baldo7 {

// Earlier versions nested the values in this group of the program's key; they are
// still read from there when the key itself has none.
constexpr const char kOldSettingsGroup[] = "SoftWare/Olvis/BALDO-7";
constexpr const char kSettingLanguage[] = "Language";
constexpr const char kSettingComPort[] = "ComPort";
constexpr const char kSettingServiceMode[] = "ServiceMode";
// "DTR", "RTS" or "DTR,RTS": lines asserted for a cable powered from them.
constexpr const char kSettingCablePower[] = "CablePower";
// true: every exchange leaves a serial trace in TraceFolder().
constexpr const char kSettingSerialTrace[] = "SerialTrace";
// false: a write is not read back and compared.
constexpr const char kSettingVerifyAfterWrite[] = "VerifyAfterWrite";
// false: writes leave no row in the job log.
constexpr const char kSettingJobLog[] = "JobLog";

// The port setting of the built-in simulated radio.
constexpr const char kSimulatedPortSetting[] = "simulated-radio";
inline bool IsSimulatedPort(const QString& setting) {
    return setting.trimmed() == QLatin1String(kSimulatedPortSetting);
}

// The store the program uses (user scope; QSettings::setPath redirects it in tests).
std::unique_ptr<QSettings> OpenSettings();

// A value of the group as text; "" when missing or unreadable.
QString ReadRegistryString(QSettings& settings, const QString& name);
// Stores `text`; true when it reached the store.
bool WriteRegistryString(QSettings& settings, const QString& name, const QString& text);

// The number at the start of a text, as a lenient numeric conversion reads it:
// leading blanks skipped, then digits; 0 when there are none.
int LeadingNumber(const QString& text);

// Language and port into the document: IsEnglish = (Language is exactly "True");
// ComPort "" gives 1, digits give the number, anything else is a device name.
void ReadSettings(Document& doc, QSettings& settings);

// ServiceMode: "true" (any case) or "1" turns the service configuration on; missing,
// empty or anything else leaves it off.
bool ReadServiceMode(QSettings& settings);
// SerialTrace, read the same way; default off.
bool ReadSerialTrace(QSettings& settings);
// VerifyAfterWrite: on unless "false" (any case) or "0".
bool ReadVerifyAfterWrite(QSettings& settings);
// JobLog, read as VerifyAfterWrite: on unless "false" (any case) or "0".
bool ReadJobLogOn(QSettings& settings);
// CablePower as the text of its lines; "" (as the driver leaves them) by default.
QString ReadCablePower(QSettings& settings);

bool StoreLanguage(QSettings& settings, bool isEnglish);
// The port as one text: the device name when there is one, else the number.
QString PortSetting(const Document& doc);
// The number, or the device name where the port has no number.
bool StoreComPort(QSettings& settings, const Document& doc);

}  // namespace baldo7
