// The start-up of the main window up to the point where windows appear:
// decimal separator, settings, module state, the template and what is derived
// from it. The caller shows `message` and stops when the result is not ok.
#pragma once

#include <QLocale>
#include <QSettings>
#include <QString>

#include "core/document.h"

namespace baldo7 {

// "." or "," from the locale's text for 0.5.
char DetectDecimalSeparator(const QLocale& locale);

struct StartUpResult {
    bool ok = true;
    QString message;  // in the language just read from the settings
};

StartUpResult RunStartUp(Document& doc, QSettings& settings, const QString& programFolder,
                         const QLocale& locale = QLocale());

}  // namespace baldo7
